// The contact editor as a person uses it: alone over a real-world card, and opened from the main
// window against tools/httpmail-server on loopback.

#include "app/ContactEditor.h"
#include "app/frmMain.h"
#include "app/modMain.h"
#include "tests/app/DesktopRecorder.h"
#include "tests/app/ListRows.h"
#include "tests/app/WindowIdle.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <fstream>
#include <functional>

namespace {

// Outlook's 2.1: quoted-printable, bare type words, a photo.
const std::string kOutlookCard =
    "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=ISO-8859-1:Lef\xE8vre;Zo\xEB;;;\r\n"
    "FN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:Zo=EB Lef=E8vre\r\nTEL;WORK;VOICE:+33 1 55\r\n"
    "PHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n /9j/4AAQSkZJRgABAQEASABIAAD\r\n\r\nEND:VCARD\r\n";

template <typename Widget>
Widget* editorChild(const QWidget& parent, const char* name) {
    return parent.findChild<Widget*>(QString::fromLatin1(name));
}

}  // namespace

TEST(ContactEditor, FieldsAndTextStayInStepAndASaveChangesOnlyWhatWasTyped) {
    DesktopRecorder recorder;
    ContactEditor editor({"a.vcf", kOutlookCard, "\"t\""});
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    auto* name = editorChild<QLineEdit>(editor, "txtName");
    EXPECT_EQ(editor.focusWidget(), name) << "the name first, with the focus";
    EXPECT_EQ(name->text(), QString::fromUtf8("Zo\xC3\xAB Lef\xC3\xA8vre"));
    EXPECT_EQ(editorChild<QComboBox>(editor, "txtPhone1Type")->currentText(), "work,voice");
    for (QWidget* field : editor.findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(field) || qobject_cast<QPlainTextEdit*>(field) ||
            qobject_cast<QComboBox*>(field)) {
            EXPECT_FALSE(field->accessibleName().isEmpty()) << field->objectName().toStdString();
        }
    }

    name->selectAll();
    QTest::keyClicks(name, "Zo");
    name->insert(QString::fromUtf8("\xC3\xAB \xC5\x81"));  // QTest types ASCII keys only
    auto* tabs = editorChild<QTabWidget>(editor, "tabEditor");
    tabs->setCurrentIndex(1);
    auto* text = editorChild<QPlainTextEdit>(editor, "txtVcard");
    EXPECT_TRUE(text->toPlainText().contains("FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Zo=C3=AB =C5=81\n"))
        << text->toPlainText().toStdString();
    text->setPlainText(text->toPlainText().replace("+33 1 55", "+33 1 56"));  // typed in the text
    tabs->setCurrentIndex(0);
    EXPECT_EQ(editorChild<QLineEdit>(editor, "txtPhone1")->text(), "+33 1 56");

    QSignalSpy saves(&editor, &ContactEditor::saveRequested);
    QTest::keyClick(name, Qt::Key_Return);
    ASSERT_EQ(saves.size(), 1) << "Return in a one-line field saves, also after the vCard tab was shown";
    std::string expected = kOutlookCard;
    expected.replace(expected.find("FN;"), expected.find("TEL;") - expected.find("FN;"),
                     "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Zo=C3=AB =C5=81\r\n");
    expected.replace(expected.find("+33 1 55"), 8, "+33 1 56");
    EXPECT_EQ(saves[0][0].value<std::string>(), expected);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST(ContactEditor, RefusesAnEmptyNameAndAsksBeforeDroppingChanges) {
    DesktopRecorder recorder;
    ContactEditor editor({"a.vcf", kOutlookCard, std::nullopt});
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    QSignalSpy saves(&editor, &ContactEditor::saveRequested);
    editorChild<QLineEdit>(editor, "txtName")->clear();
    QTest::keyClick(editorChild<QLineEdit>(editor, "txtTitle"), Qt::Key_Return);
    EXPECT_EQ(saves.size(), 0);
    EXPECT_EQ(recorder.texts(), QStringList{"A contact needs a name: fill in Name before saving."});

    QTest::keyClick(&editor, Qt::Key_Escape);
    EXPECT_EQ(recorder.questions, QStringList{"Discard the changes to this contact?"});
    EXPECT_TRUE(editor.isVisible()) << "No keeps everything typed";
    editorChild<QLineEdit>(editor, "txtName")->setText(QString::fromUtf8("Zo\xC3\xAB Lef\xC3\xA8vre"));
    QTest::keyClick(&editor, Qt::Key_Escape);
    EXPECT_EQ(recorder.questions.size(), 1) << "nothing changed: no question";
    EXPECT_FALSE(editor.isVisible());
}

struct EditorOnServer : testing::Test {
    void SetUp() override {
        std::ofstream(server.folder() / "a.vcf", std::ios::binary) << kOutlookCard;
        std::ofstream(server.folder() / "b.vcf", std::ios::binary) << "BEGIN:VCARD\r\nFN:Bo\r\nEND:VCARD\r\n";
        modMain::sServer = QStringLiteral("127.0.0.1");
        modMain::lPort = server.port();
        modMain::sAuthorization = QStringLiteral("Basic ZGVtbzpkZW1v");
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.cmdRefresh_Click();
        ASSERT_TRUE(waitUntilIdle(window));
        listOf(window)->setCurrentIndex(listOf(window)->model()->index(0, 0));
    }

    // Ctrl+E on the selected line, then meanwhile() and the name typed and Return.
    ContactEditor* editAndRename(
        const QString& name, const std::function<void()>& meanwhile = [] {}) {
        QTest::keySequence(listOf(window), QKeySequence(Qt::CTRL | Qt::Key_E));
        EXPECT_TRUE(QTest::qWaitFor([] { return qobject_cast<ContactEditor*>(QApplication::activeModalWidget()); }));
        auto* editor = qobject_cast<ContactEditor*>(QApplication::activeModalWidget());
        if (editor) {
            meanwhile();
            editorChild<QLineEdit>(*editor, "txtName")->setText(name);
            QTest::keyClick(editorChild<QLineEdit>(*editor, "txtName"), Qt::Key_Return);
            EXPECT_TRUE(waitUntilIdle(window));
        }
        return editor;
    }

    HttpMailServer server;
    DesktopRecorder recorder;
    frmMain window;
};

TEST_F(EditorOnServer, SavedTheLineShowsTheNewNameAndStaysSelected) {
    ASSERT_NE(editAndRename("Ann Other"), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }));
    EXPECT_EQ(server.requests("PUT"), std::vector<std::string>{"/vqhttpmail/2/3/4/Contacts/a.vcf 204"});
    EXPECT_EQ(listLines(window), (QStringList{"Ann Other [a.vcf]", "Bo [b.vcf]"}));
    EXPECT_EQ(listOf(window)->currentIndex().row(), 0);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(EditorOnServer, AChangeOnTheServerIsNotOverwrittenAndShownBesideTheEdit) {
    const std::string elsewhere = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Changed Elsewhere\r\nEND:VCARD\r\n";
    ContactEditor* editor = editAndRename(
        "Mine", [&] { std::ofstream(server.folder() / "a.vcf", std::ios::binary | std::ios::trunc) << elsewhere; });
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(recorder.texts(),
              QStringList{"The contact changed on the server since the editor opened it. Nothing was overwritten."});
    EXPECT_EQ(fileBytes(server.folder() / "a.vcf"), elsewhere);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editorChild<QLineEdit>(*editor, "txtName")->text(), "Mine") << "everything typed stays";
    EXPECT_TRUE(editorChild<QPlainTextEdit>(*editor, "txtServerVersion")->isVisible());
    EXPECT_TRUE(
        editorChild<QPlainTextEdit>(*editor, "txtServerVersion")->toPlainText().contains("FN:Changed Elsewhere"));
    recorder.confirmAnswer = true;
    editor->reject();
}
