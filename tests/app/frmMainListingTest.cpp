// The real main window on the offscreen platform, logged in through the real dialog, talking to
// tools/httpmail-server on loopback with the real HttpRequest.

#include "app/frmMain.h"
#include "app/modMain.h"
#include "codec/CodePage.h"
#include "tests/app/DesktopRecorder.h"
#include "tests/app/ListRows.h"
#include "tests/app/LoginRobot.h"
#include "tests/app/WindowIdle.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

const QString kFatal = QStringLiteral(
    "Server does not seem to support remote contact administration or does not have any contact "
    "defined. You may have also specified an invalid password.");
const QString kAuthError = QStringLiteral("Authentication Error: Please check credentials.");

LoginRobot::Entries demoLogin(std::int32_t port, const QString& password = QStringLiteral("demo")) {
    return {QStringLiteral("demo"), password, QStringLiteral("127.0.0.1"), QString::number(port)};
}

QString progress(int n, int total) {
    return QStringLiteral("Retreiving Contact from Server %1 of %2").arg(n).arg(total);
}

// The titles the window system got for one listing of `total` contacts: progress in order, its
// first and last among them (a person sees the count start and finish), then the final caption.
// The window gives the title bar about one progress caption a frame, so others may be left out.
void expectListingCaptions(const QStringList& captions, int total) {
    ASSERT_GE(captions.size(), 2) << captions.join("\n").toStdString();
    EXPECT_EQ(captions.front(), progress(1, total));
    EXPECT_EQ(captions[captions.size() - 2], progress(total, total));
    EXPECT_EQ(captions.back(), "Velqor Personal Contacts Manager");
    const QRegularExpression pattern(QStringLiteral("^Retreiving Contact from Server (\\d+) of %1$").arg(total));
    int previous = 0;
    for (qsizetype i = 0; i + 1 < captions.size(); ++i) {
        const QRegularExpressionMatch match = pattern.match(captions[i]);
        ASSERT_TRUE(match.hasMatch()) << captions[i].toStdString();
        EXPECT_GT(match.captured(1).toInt(), previous) << "progress never goes back";
        previous = match.captured(1).toInt();
    }
}

HttpMailServerOptions seeded(std::string fault = {}) {
    HttpMailServerOptions options;
    options.seedSamples = true;
    options.fault = std::move(fault);
    return options;
}

struct MainWindowListing : testing::Test {
    void SetUp() override {
        QObject::connect(&window, &QWidget::windowTitleChanged, [this](const QString& title) { captions << title; });
    }

    void doubleClickRow(int row) {
        ASSERT_TRUE(doubleClickListRow(window, row));
        ASSERT_TRUE(waitUntilIdle(window));
    }

    void clickRefresh() {
        QTest::mouseClick(window.findChild<QPushButton*>("cmdRefresh"), Qt::LeftButton);
        ASSERT_TRUE(waitUntilIdle(window));
    }

    DesktopRecorder recorder;
    LoginRobot robot;
    frmMain window;
    QStringList captions;
};

}  // namespace

TEST_F(MainWindowListing, GoodLoginFillsTheListWithProgressInTheCaption) {
    HttpMailServer server(seeded());
    robot.login(demoLogin(server.port()));
    window.Form_Load();
    ASSERT_TRUE(waitUntilIdle(window));

    EXPECT_TRUE(recorder.messages.empty()) << recorder.texts().join("\n").toStdString();
    EXPECT_EQ(recorder.endings, 0);
    EXPECT_EQ(robot.shown.size(), 1u);
    EXPECT_TRUE(window.isVisible());
    const QStringList listed = listLines(window);
    ASSERT_EQ(listed.size(), 20) << "the folder itself, listed first by the server, is no line";
    EXPECT_EQ(listed[0], "Jane (Work) Doe [A01.vcf]");
    EXPECT_EQ(listed[2], QString::fromUtf8("J\u00fcrgen M\u00fcller [A03.vcf]"));
    EXPECT_EQ(listed[5], "Velqor Support [A06.vcf]");
    EXPECT_EQ(listed[11], "Chris Adams [A12.vcf]");
    EXPECT_EQ(listed[12], QString::fromUtf8("\u0141ukasz \u017b\u00f3\u0142kiewski [A13.vcf]"));
    EXPECT_EQ(listed[14], QString::fromUtf8("Ana\u00efs Fran\u00e7ois-Dupont [A15.vcf]"));
    EXPECT_EQ(listed[16], "Robert Smith, Jr. [A17.vcf]");
    EXPECT_EQ(listed[18], "Ingrid Svensson [A19.vcf]");
    expectListingCaptions(captions, 20);
    // Several GETs run at once, so the server may take them in another order; each comes once.
    auto gets = server.requests("GET");
    std::sort(gets.begin(), gets.end());
    ASSERT_EQ(gets.size(), 20u);
    for (std::size_t i = 0; i < gets.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        EXPECT_EQ(gets[i], "/vqhttpmail/2/3/4/Contacts/A" + std::string(2 - number.size(), '0') + number + ".vcf 200");
    }
}

TEST_F(MainWindowListing, WrongPasswordBringsTheDialogBackWithItsDesignValues) {
    HttpMailServer server(seeded());
    robot.login(demoLogin(server.port(), QStringLiteral("wrong")));
    robot.login(demoLogin(server.port()));
    window.Form_Load();
    ASSERT_TRUE(waitUntilIdle(window));

    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, kAuthError);
    EXPECT_EQ(recorder.messages[0].style, MessageStyle::Plain);
    EXPECT_EQ(recorder.messages[0].title, "");
    ASSERT_EQ(robot.shown.size(), 2u);
    const LoginRobot::Entries design{"", "", "127.0.0.1", "8080"};
    EXPECT_EQ(robot.shown[0], design);
    EXPECT_EQ(robot.shown[1], design) << "nothing typed the first time comes back";
    EXPECT_EQ(listLines(window).size(), 20) << "the second login lists";
    EXPECT_EQ(recorder.endings, 0);
}

TEST_F(MainWindowListing, ForbiddenAsksForTheLoginAgainAndCancelEnds) {
    HttpMailServer server(seeded("forbidden"));
    robot.login(demoLogin(server.port()));
    robot.cancel();
    window.Form_Load();
    ASSERT_TRUE(waitUntilIdle(window));

    EXPECT_EQ(recorder.texts(), QStringList{"Communications Failure: Unable to connect to remote host."});
    EXPECT_EQ(robot.shown.size(), 2u);
    EXPECT_EQ(recorder.endings, 1) << "the second dialog's Cancel";
    EXPECT_TRUE(listLines(window).isEmpty());
}

TEST(MainWindowFatalListing, NoContactFolderOrNoServerEndsAfterTheThirdMessage) {
    struct Row {
        const char* why;
        std::string fault;
        bool stop;
    };
    const Row rows[] = {{"no contact folder (404)", "no-folder", false}, {"an unreachable port", "", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        DesktopRecorder rowRecorder;
        LoginRobot rowRobot;
        frmMain rowWindow;
        HttpMailServer server(seeded(row.fault));
        if (row.stop) {
            server.stop();
        }
        rowRobot.login(demoLogin(server.port()));
        rowWindow.Form_Load();
        ASSERT_TRUE(waitUntilIdle(rowWindow));
        EXPECT_EQ(rowRecorder.texts(), QStringList{kFatal});
        EXPECT_EQ(rowRecorder.messages.at(0).style, MessageStyle::Plain);
        EXPECT_EQ(rowRecorder.endings, 1);
        EXPECT_TRUE(rowWindow.programEnded());
        EXPECT_EQ(rowRobot.shown.size(), 1u) << "no login after the end";
        EXPECT_TRUE(server.requests("GET").empty());
    }
}

TEST_F(MainWindowListing, RefreshNeverDuplicatesAndRejectedCredentialsLeaveTheListEmpty) {
    HttpMailServer server(seeded());
    robot.login(demoLogin(server.port()));
    window.Form_Load();
    ASSERT_TRUE(waitUntilIdle(window));
    ASSERT_EQ(listLines(window).size(), 20);
    const QStringList first = listLines(window);

    clickRefresh();
    clickRefresh();
    EXPECT_EQ(listLines(window), first);
    EXPECT_EQ(server.requests("PROPFIND").size(), 3u);

    // The server no longer takes these credentials: say so, empty list, no login dialog.
    modMain::sAuthorization = QStringLiteral("Basic ZGVtbzpjaGFuZ2Vk");
    clickRefresh();
    EXPECT_TRUE(listLines(window).isEmpty());
    EXPECT_EQ(recorder.texts(), QStringList{kAuthError});
    EXPECT_EQ(robot.shown.size(), 1u);
    EXPECT_EQ(recorder.endings, 0);
}

TEST_F(MainWindowListing, DoubleClickShowsTheVcardOrWhatWentWrong) {
    HttpMailServer server(seeded());
    robot.login(demoLogin(server.port()));
    window.Form_Load();
    ASSERT_TRUE(waitUntilIdle(window));
    ASSERT_EQ(listLines(window).size(), 20);

    doubleClickRow(2);
    const std::string a03 = fileBytes(server.folder() / "A03.vcf");
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text.toStdU16String(), codepage::fromWindows1252(a03)) << "no UTF-8";
    EXPECT_EQ(recorder.messages[0].style, MessageStyle::Details);
    EXPECT_EQ(recorder.messages[0].title, "");

    doubleClickRow(13);
    const std::string a14 = fileBytes(server.folder() / "A14.vcf");
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[1].text, QString::fromUtf8(a14)) << "UTF-8 shows as UTF-8";

    std::filesystem::remove(server.folder() / "A12.vcf");
    doubleClickRow(11);
    ASSERT_EQ(recorder.messages.size(), 3u);
    EXPECT_EQ(recorder.messages[2].text, "Error:404");

    server.stop();
    doubleClickRow(0);
    ASSERT_EQ(recorder.messages.size(), 4u);
    EXPECT_EQ(recorder.messages[3].text, "");
    EXPECT_EQ(recorder.endings, 0);
    EXPECT_EQ(listLines(window).size(), 20) << "a double-click changes nothing in the list";
}

// Counts the paintings of one widget.
struct PaintCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

TEST_F(MainWindowListing, ALongListingShowsItsProgressAndEndsWithTheWholeList) {
    constexpr int total = 2500;
    HttpMailServer server;
    QStringList expected;
    for (int i = 0; i < total; ++i) {
        const std::string number = std::to_string(10000 + i);
        std::ofstream(server.folder() / ("n" + number + ".vcf"), std::ios::binary)
            << "BEGIN:VCARD\r\nFN:Person [" << number << "]\r\nEND:VCARD\r\n";
        expected << QString::fromStdString("Person (" + number + ") [n" + number + ".vcf]");
    }
    robot.login(demoLogin(server.port()));
    PaintCounter counter;
    window.findChild<QAbstractItemView*>("List1")->viewport()->installEventFilter(&counter);
    window.Form_Load();
    ASSERT_TRUE(waitUntilIdle(window));

    EXPECT_TRUE(recorder.messages.empty()) << recorder.texts().join("\n").toStdString();
    expectListingCaptions(captions, total);
    EXPECT_GT(captions.size(), 3) << "2,500 exchanges last many frames: the count moves on screen";
    EXPECT_EQ(window.windowHandle()->title(), "Velqor Personal Contacts Manager");
    EXPECT_EQ(listLines(window), expected);
    EXPECT_GE(counter.paints, 2) << "the list is painted while it fills, and once at the end";

    // A screen reader reads the same rows.
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(listOf(window));
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->role(), QAccessible::List);
    ASSERT_EQ(access->childCount(), total);
    EXPECT_EQ(access->child(total - 1)->text(QAccessible::Name), expected.last());
}
