// Copy and Save As on the real main window: the contact is fetched again, as Open fetches it, and
// goes onto the clipboard or into a file byte for byte.

#include "app/FileDialogs.h"
#include "codec/Utf8.h"
#include "tests/app/CannedWindow.h"
#include "tests/support/Files.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string everyByteCard() {
    std::string card = "BEGIN:VCARD\r\nFN:Every Byte\r\nNOTE:";
    for (int b = 0; b < 256; ++b) {
        card.push_back(static_cast<char>(b));
    }
    return card + "\r\nEND:VCARD\r\n";
}

const std::string kWrongCard = "BEGIN:VCARD\r\nFN:Wrong One\r\nEND:VCARD\r\n";
const std::string kJurgenCard = "BEGIN:VCARD\r\nFN:J\xC3\xBCrgen\r\nEND:VCARD\r\n";

struct CopyAndSave : CannedWindow {
    void fill() override {
        folder.add(u"a]b.vcf", everyByteCard());
        folder.add(u"a", kWrongCard);  // what the line's text alone would name
        folder.add(u"J%C3%BCrgen.vcf", kJurgenCard);
        folder.add(u"..", kWrongCard);  // a name export would not write
    }

    QString clipboardText(const char* type) const {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        return data ? QString::fromUtf8(data->data(QString::fromLatin1(type))) : QString();
    }
    std::string clipboardBytes(const char* type) const {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        return data ? data->data(QString::fromLatin1(type)).toStdString() : std::string();
    }

    fs::path folderForSaves() {
        const fs::path path = fs::temp_directory_path() / ("vq-saves-" + std::to_string(getpid()));
        fs::remove_all(path);
        fs::create_directories(path);
        return path;
    }
};

}  // namespace

TEST_F(CopyAndSave, AFileNameHoldingABracketOpensCopiesAndSavesItsOwnContact) {
    const fs::path saves = folderForSaves();
    recorder.saveAnswer = QString::fromStdString((saves / "saved.vcf").string());
    selectFile("a]b.vcf");
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Return), QKeySequence(QKeySequence::Copy), QKeySequence(QKeySequence::Save)}) {
        SCOPED_TRACE(keys.toString().toStdString());
        listOf(window)->setFocus();
        press(keys);
        ASSERT_TRUE(waitUntilIdle(window));
        ASSERT_FALSE(folder.gets().empty());
        EXPECT_EQ(folder.gets().back(), u"vqhttpmail/2/3/4/Contacts/a]b.vcf");
    }
    ASSERT_EQ(recorder.messages.size(), 1u) << "only Open shows a box";
    EXPECT_EQ(recorder.messages[0].style, MessageStyle::Details);
    EXPECT_TRUE(recorder.messages[0].text.startsWith("BEGIN:VCARD\r\nFN:Every Byte"));
    EXPECT_EQ(clipboardBytes("text/vcard"), everyByteCard());
    EXPECT_EQ(fileBytes(saves / "saved.vcf"), everyByteCard());
    fs::remove_all(saves);
}

TEST_F(CopyAndSave, CopyOffersTheServersBytesTheDetailsTextAndTheExportName) {
    struct Row {
        const char* why;
        QString file;
        std::string bytes;
        QString suggested;  // empty: no such format
    };
    const Row rows[] = {
        {"every byte value, not UTF-8: shown as Windows-1252", "a]b.vcf", everyByteCard(), "a]b.vcf"},
        {"an escaped href: the name decoded, the text UTF-8", "J%C3%BCrgen.vcf", kJurgenCard,
         QString::fromUtf8("J\xC3\xBCrgen.vcf")},
        {"a name export would not write gets none", "..", kWrongCard, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        QGuiApplication::clipboard()->clear();
        selectFile(row.file);
        window.copyContact();
        ASSERT_TRUE(waitUntilIdle(window));
        EXPECT_EQ(clipboardBytes("text/vcard"), row.bytes);
        EXPECT_EQ(clipboardBytes("text/x-vcard"), row.bytes);
        EXPECT_EQ(QGuiApplication::clipboard()->text(),
                  QString::fromStdU16String(utf8::decodeOrWindows1252(std::string_view(row.bytes))));
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->hasFormat("application/x-kde-suggestedfilename"), !row.suggested.isEmpty());
        EXPECT_EQ(clipboardText("application/x-kde-suggestedfilename"), row.suggested);
    }
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(CopyAndSave, ACopyIsDroppedWhenAnotherProgramTakesTheClipboardDuringItsFetch) {
    folder.onGet([] {
        QMetaObject::invokeMethod(
            qApp, [] { QGuiApplication::clipboard()->setText(QStringLiteral("taken meanwhile")); },
            Qt::BlockingQueuedConnection);
    });
    selectFile("a]b.vcf");
    window.copyContact();
    ASSERT_TRUE(waitUntilIdle(window));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "taken meanwhile");
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasFormat("text/vcard"));
}

TEST_F(CopyAndSave, AContactThatDoesNotComeIsNamedAndNothingIsWritten) {
    const fs::path saves = folderForSaves();
    window.appendContact(u"Gone [gone.vcf]", u"gone.vcf");
    ASSERT_TRUE(QTest::qWaitFor([this] { return listLines(window).size() == 5; }));
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    recorder.saveAnswer = QString::fromStdString((saves / "gone.vcf").string());
    selectFile("gone.vcf");
    window.copyContact();
    ASSERT_TRUE(waitUntilIdle(window));
    window.saveContact();
    ASSERT_TRUE(waitUntilIdle(window));
    EXPECT_EQ(recorder.texts(),
              QStringList({"The contact could not be copied: Error:404", "The contact could not be saved: Error:404"}));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
    EXPECT_TRUE(fs::is_empty(saves));
    fs::remove_all(saves);
}

TEST_F(CopyAndSave, SaveReplacesAFileWholeAndAnUnwritablePlaceSaysWhyAndLeavesNothing) {
    const fs::path saves = folderForSaves();
    std::ofstream(saves / "old.vcf", std::ios::binary) << "old bytes";
    std::ofstream(saves / "a file", std::ios::binary) << "not a folder";
    struct Row {
        const char* why;
        fs::path target;
        bool written;
    };
    std::vector<Row> rows = {
        {"a new file", saves / "new.vcf", true},
        {"an old file, replaced once the dialog asked", saves / "old.vcf", true},
        {"a folder the system keeps (even root cannot write there)", "/proc/self/contact.vcf", false},
        {"below a file", saves / "a file" / "x.vcf", false},
    };
    if (geteuid() != 0) {  // permissions do not hold for root
        fs::create_directory(saves / "locked");
        fs::permissions(saves / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        rows.push_back({"a folder without write permission", saves / "locked" / "x.vcf", false});
    }
    selectFile("a]b.vcf");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        recorder.messages.clear();
        recorder.saveAnswer = QString::fromStdString(row.target.string());
        window.saveContact();
        ASSERT_TRUE(waitUntilIdle(window));
        if (row.written) {
            EXPECT_TRUE(recorder.messages.empty());
            EXPECT_EQ(fileBytes(row.target), everyByteCard());
        } else {
            ASSERT_EQ(recorder.messages.size(), 1u);
            EXPECT_TRUE(recorder.messages[0].text.startsWith(
                QStringLiteral("The contact could not be saved to %1: ").arg(recorder.saveAnswer)))
                << recorder.messages[0].text.toStdString();
            EXPECT_FALSE(fs::exists(row.target));
        }
    }
    EXPECT_EQ(recorder.suggestedNames.value(0), "a]b.vcf");
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(saves)) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    const std::vector<std::string> expected = geteuid() != 0
                                                  ? std::vector<std::string>{"a file", "locked", "new.vcf", "old.vcf"}
                                                  : std::vector<std::string>{"a file", "new.vcf", "old.vcf"};
    EXPECT_EQ(left, expected) << "no temporary file left behind";
    if (fs::exists(saves / "locked")) {
        fs::permissions(saves / "locked", fs::perms::owner_all);
    }
    fs::remove_all(saves);
}

TEST_F(CopyAndSave, SaveCancelledFetchesNothing) {
    selectFile("a]b.vcf");
    const std::size_t before = folder.gets().size();
    recorder.saveAnswer.clear();
    window.saveContact();
    EXPECT_FALSE(window.busy());
    EXPECT_EQ(folder.gets().size(), before);
}

TEST(SaveDialog, OpensAtHomeWithTheNameAndAsksBeforeReplacing) {
    const fs::path saves = fs::temp_directory_path() / ("vq-dialog-" + std::to_string(getpid()));
    fs::create_directories(saves);
    std::ofstream(saves / "there.vcf") << "kept";
    const std::unique_ptr<QFileDialog> dialog = makeSaveDialog(nullptr, QStringLiteral("a]b.vcf"));
    EXPECT_EQ(dialog->directory().absolutePath(), QDir::homePath());
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog->nameFilters(), QStringList({"vCard files (*.vcf *.vcard)", "All files (*)"}));

    // The question comes up when Save picks an existing file: No keeps the dialog, Yes accepts.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setDirectory(QString::fromStdString(saves.string()));
    dialog->selectFile(QStringLiteral("there.vcf"));
    dialog->show();
    QStringList questions;
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        QTimer::singleShot(0, [&questions, answer] {
            static_cast<void>(QTest::qWaitFor(
                [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; }));
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                questions << box->text();
                box->button(answer)->click();
            }
        });
        static_cast<QDialog*>(dialog.get())->accept();  // as Save in the dialog does
        EXPECT_EQ(dialog->result() == QDialog::Accepted, answer == QMessageBox::Yes);
    }
    ASSERT_EQ(questions.size(), 2);
    EXPECT_TRUE(questions[0].contains("there.vcf")) << questions[0].toStdString();
    EXPECT_EQ(dialog->selectedFiles().value(0), QString::fromStdString((saves / "there.vcf").string()));
    dialog->hide();
    fs::remove_all(saves);
}
