// Delete, Undo Delete and Select Duplicates in the real main window, driven by keys and the menu,
// against tools/httpmail-server with the real HttpRequest.

#include "app/DeleteQuestion.h"
#include "app/frmMain.h"
#include "app/modMain.h"
#include "tests/app/DesktopRecorder.h"
#include "tests/app/ListRows.h"
#include "tests/app/WindowIdle.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const std::string kAnn = "BEGIN:VCARD\r\nFN:Ann\r\nEND:VCARD\r\n";
const std::string kAnnLf = "BEGIN:VCARD\nFN:Ann\nEND:VCARD\n\n";  // a copy: line ends and a blank line aside
const std::string kBob = "BEGIN:VCARD\r\nFN:Bob\r\nEND:VCARD\r\n";

struct DeleteWindow : testing::Test {
    void start(std::vector<std::string> switches = {}) {
        HttpMailServerOptions options;
        options.switches = std::move(switches);
        server = std::make_unique<HttpMailServer>(options);
        for (const auto& [name, bytes] :
             {std::pair{"a.vcf", kAnn}, {"b.vcf", kBob}, {"c.vcf", kAnnLf}, {"d.vcf", kAnn}}) {
            std::ofstream(server->folder() / name, std::ios::binary) << bytes;
        }
        modMain::sServer = QStringLiteral("127.0.0.1");
        modMain::lPort = server->port();
        modMain::sAuthorization = QStringLiteral("Basic ZGVtbzpkZW1v");
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.cmdRefresh_Click();
        ASSERT_TRUE(waitUntilIdle(window));
        ASSERT_EQ(listLines(window).size(), 4);
        listOf(window)->setFocus();
    }
    void key(const QKeySequence& keys) {
        QTest::keySequence(QApplication::focusWidget(), keys);
        ASSERT_TRUE(waitUntilIdle(window));
    }
    void trigger(const char* action) {
        window.findChild<QAction*>(QString::fromLatin1(action))->trigger();
        ASSERT_TRUE(waitUntilIdle(window));
    }
    bool onServer(const char* name) const { return fs::exists(server->folder() / name); }

    std::unique_ptr<HttpMailServer> server;
    DesktopRecorder recorder;
    frmMain window;
};

}  // namespace

TEST_F(DeleteWindow, SelectDuplicatesThenDeleteAndUndoBringTheCopiesBackByteForByte) {
    start();
    recorder.deleteAnswer = true;
    trigger("actSelectDuplicates");
    key(QKeySequence::Delete);
    EXPECT_EQ(recorder.questions, QStringList{"Delete these 2 contacts from the server?"});
    EXPECT_EQ(listLines(window), (QStringList{"Ann [a.vcf]", "Bob [b.vcf]"})) << "the first copy stays";
    EXPECT_FALSE(onServer("c.vcf"));
    EXPECT_FALSE(onServer("d.vcf"));
    trigger("actSelectDuplicates");
    EXPECT_EQ(recorder.texts().back().toStdString(),
              "There are no duplicates: no contact shown has the same card as one before it.");
    key(QKeySequence::Undo);
    EXPECT_EQ(listLines(window).size(), 4);
    EXPECT_EQ(fileBytes(server->folder() / "c.vcf"), kAnnLf);
    EXPECT_EQ(fileBytes(server->folder() / "d.vcf"), kAnn);
    EXPECT_TRUE(server->requests("POST").empty()) << "each back under its own name";
    EXPECT_FALSE(window.findChild<QAction*>("actUndoDelete")->isEnabled()) << "nothing more to bring back";
}

TEST_F(DeleteWindow, OnlyTheShownSelectedLinesGoAndCancelDeletesNothing) {
    start();
    key(QKeySequence::SelectAll);
    recorder.deleteAnswer = false;
    key(QKeySequence::Delete);
    EXPECT_TRUE(server->requests("DELETE").empty());
    EXPECT_EQ(listLines(window).size(), 4);
    key(QKeySequence::Find);
    QTest::keyClicks(QApplication::focusWidget(), "bob");
    listOf(window)->setFocus();
    recorder.deleteAnswer = true;
    key(QKeySequence::Delete);
    EXPECT_EQ(recorder.questions.back(),
              QString::fromUtf8("Delete the contact \u201cBob [b.vcf]\u201d from the server?"));
    EXPECT_FALSE(onServer("b.vcf"));
    for (const char* kept : {"a.vcf", "c.vcf", "d.vcf"}) {
        EXPECT_TRUE(onServer(kept)) << kept << " was hidden by the find";
    }
}

TEST_F(DeleteWindow, CopyPutsEverySelectedCardOnTheClipboardAsOneVcard) {
    start();
    key(QKeySequence::SelectAll);
    key(QKeySequence::Copy);
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data("text/vcard").toStdString(), kAnn + kBob + kAnnLf + kAnn);
}

TEST_F(DeleteWindow, AServerThatKeepsWhatItSaidItDeletedIsShownAsItIs) {
    start({"--keep-on-delete"});
    listOf(window)->selectionModel()->setCurrentIndex(listOf(window)->model()->index(1, 0),
                                                      QItemSelectionModel::ClearAndSelect);
    recorder.deleteAnswer = true;
    key(QKeySequence::Delete);
    EXPECT_FALSE(listLines(window).contains("Bob [b.vcf]"));
    key(QKeySequence(Qt::Key_F5));
    EXPECT_TRUE(listLines(window).contains("Bob [b.vcf]")) << "the next listing shows it";
    key(QKeySequence::Undo);
    EXPECT_EQ(listLines(window).count("Bob [b.vcf]"), 1) << "found back under its name: no second line";
    EXPECT_TRUE(server->requests("POST").empty());
    EXPECT_TRUE(recorder.messages.empty());
}

TEST(DeleteQuestion, CancelIsTheDefaultAndEscapesButtonSoReturnAndEscapeDeleteNothing) {
    struct Row {
        const char* why;
        std::function<void(QMessageBox&)> act;
        bool deletes;
    };
    const Row rows[] = {
        {"Return", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, false},
        {"Escape", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, false},
        {"the Delete button",
         [](QMessageBox& box) { QTest::mouseClick(box.findChild<QPushButton*>("cmdDelete"), Qt::LeftButton); }, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->defaultButton()->text(), "Cancel");
            EXPECT_EQ(box->escapeButton(), box->defaultButton());
            EXPECT_EQ(box->text(), deleteQuestionText({"Ann [a.vcf]"}));
            row.act(*box);
        });
        EXPECT_EQ(askDeleteQuestion(nullptr, deleteQuestionText({"Ann [a.vcf]"})), row.deletes);
    }
}
