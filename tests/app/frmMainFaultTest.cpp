// The main window against a server gone wrong in the ways the tests can make it: the program says
// what the listing says for such an answer, or lists what it can, returns within its time-outs,
// and the next Refresh, with the server mended, lists normally.

#include "app/frmMain.h"
#include "app/modMain.h"
#include "net/modWININET.h"
#include "tests/app/DesktopRecorder.h"
#include "tests/app/ListRows.h"
#include "tests/app/WindowIdle.h"
#include "tests/support/HttpMailServer.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include <chrono>
#include <fstream>

using namespace std::chrono_literals;

namespace {

const QString kFatal = QStringLiteral(
    "Server does not seem to support remote contact administration or does not have any contact "
    "defined. You may have also specified an invalid password.");
const QStringList kNormal = {"Ann One [a.vcf]", "Bob Two [b.vcf]"};

struct MainWindowFaults : testing::Test {
    void SetUp() override {
        std::ofstream(server.folder() / "a.vcf", std::ios::binary) << "BEGIN:VCARD\r\nFN:Ann One\r\nEND:VCARD\r\n";
        std::ofstream(server.folder() / "b.vcf", std::ios::binary) << "BEGIN:VCARD\r\nFN:Bob Two\r\nEND:VCARD\r\n";
        modMain::sServer = QStringLiteral("127.0.0.1");
        modMain::lPort = server.port();
        modMain::sAuthorization = QStringLiteral("Basic ZGVtbzpkZW1v");
        window.show();
    }

    // Clicks Refresh and returns how long the window was busy with it.
    std::chrono::milliseconds refresh() {
        const auto start = std::chrono::steady_clock::now();
        QTest::mouseClick(window.findChild<QPushButton*>("cmdRefresh"), Qt::LeftButton);
        EXPECT_TRUE(waitUntilIdle(window));
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    }

    void expectRefreshWorksAgain() {
        server.setFault("");
        recorder.messages.clear();
        recorder.endings = 0;
        refresh();
        EXPECT_EQ(listLines(window), kNormal);
        EXPECT_TRUE(recorder.messages.empty());
        EXPECT_EQ(window.windowTitle(), "Velqor Personal Contacts Manager");
    }

    HttpMailServer server;
    DesktopRecorder recorder;
    // Short time-outs, so a server that never answers costs the test seconds, not minutes.
    frmMain window{nullptr, modWININET::Transport({.connectTimeout = 2s, .idleTimeout = 2s})};
};

}  // namespace

TEST_F(MainWindowFaults, BadAnswersGiveTheirMessageOrWhatCanBeListed) {
    struct Row {
        const char* fault;
        QStringList messages;
        QStringList lines;
    };
    const Row rows[] = {
        {"cut-listing", {kFatal}, {}},
        {"silent", {kFatal}, {}},
        {"garbage-status", {kFatal}, {}},
        {"cut-contact", {}, {" [a.vcf]", " [b.vcf]"}},                  // no whole contact, so no name
        {"huge-contact", {}, {" [a.vcf]", " [b.vcf]"}},                 // 100 MiB each, over the cap
        {"big-contact", {}, {"Big Card [a.vcf]", "Big Card [b.vcf]"}},  // 10 MiB each
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        recorder.messages.clear();
        recorder.endings = 0;
        server.setFault(row.fault);
        const auto busy = refresh();
        EXPECT_EQ(recorder.texts(), row.messages);
        EXPECT_EQ(recorder.endings, row.messages.isEmpty() ? 0 : 1);
        EXPECT_EQ(listLines(window), row.lines);
        EXPECT_LT(busy, 30s) << "bounded by the time-outs";
        expectRefreshWorksAgain();
    }
}

TEST_F(MainWindowFaults, TwentyThousandContactsListInOrder) {
    server.setFault("many-hrefs");
    refresh();
    EXPECT_TRUE(recorder.messages.empty());
    const QStringList listed = listLines(window);
    ASSERT_EQ(listed.size(), 20000);
    EXPECT_EQ(listed.first(), "Many 00000 [many00000.vcf]");
    EXPECT_EQ(listed[12345], "Many 12345 [many12345.vcf]");
    EXPECT_EQ(listed.last(), "Many 19999 [many19999.vcf]");
    EXPECT_EQ(server.requests("GET").size(), 20000u);
    expectRefreshWorksAgain();
}

TEST_F(MainWindowFaults, ABigContactShowsWholeOnDoubleClick) {
    server.setFault("big-contact");
    refresh();
    ASSERT_EQ(listLines(window).size(), 2);
    ASSERT_TRUE(doubleClickListRow(window, 1));
    ASSERT_TRUE(waitUntilIdle(window));
    ASSERT_EQ(recorder.messages.size(), 1u);
    const QString& shown = recorder.messages[0].text;
    EXPECT_GT(shown.size(), 10'000'000);
    EXPECT_TRUE(shown.startsWith("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Big Card\r\n"));
    EXPECT_TRUE(shown.endsWith("\r\nEND:VCARD\r\n"));
}

TEST_F(MainWindowFaults, AServerThatStopsAnsweringIsToldInAMessageAndRefreshTriesAgain) {
    server.setFault("stall-after=1");  // the listing is answered, no contact is
    const auto busy = refresh();
    EXPECT_LT(busy, 10s) << "two idle limits of 2 s and a little, not one per contact";
    EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("The server 127.0.0.1 on port %1 stopped answering. 0 of 2 "
                                                           "contacts were listed. Refresh tries again.")
                                                .arg(server.port())});
    EXPECT_EQ(recorder.endings, 0) << "the program keeps running";
    EXPECT_TRUE(listLines(window).isEmpty());
    EXPECT_EQ(window.windowTitle(), "Velqor Personal Contacts Manager");
    expectRefreshWorksAgain();
}
