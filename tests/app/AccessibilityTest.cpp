// What a screen reader gets from the two windows, read through QAccessible as assistive
// technology reads it (AT-SPI on Linux asks the same interfaces).

#include "app/frmLogin.h"
#include "app/frmMain.h"
#include "tests/app/DesktopRecorder.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

QAccessibleInterface* accessibleChild(QWidget& window, const char* name) {
    auto* widget = window.findChild<QWidget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
}

// What a reader announces a control by: its "labelled by" relation when it has one (a combo
// box's own name is its text on Linux), else its accessible name.
QString announced(QAccessibleInterface* control) {
    QStringList labels;
    for (const auto& [label, relation] : control->relations(QAccessible::Label)) {
        labels << label->text(QAccessible::Name);
    }
    return labels.isEmpty() ? control->text(QAccessible::Name) : labels.join(u' ');
}

struct Spoken {
    const char* why;
    const char* control;
    const char* label;
    QString name;
};

void expectSpokenNames(QWidget& window, std::initializer_list<Spoken> rows) {
    for (const Spoken& row : rows) {
        SCOPED_TRACE(row.why);
        QAccessibleInterface* control = accessibleChild(window, row.control);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(announced(control), row.name);
        const auto* label = window.findChild<QLabel*>(QString::fromLatin1(row.label));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->buddy(), control->object()) << "the label is the control's buddy";
        EXPECT_EQ(label->text(), row.name) << "the caption stays as designed";
    }
}

}  // namespace

TEST(AccessibleNames, LoginFieldsAreReadByTheirLabels) {
    DesktopRecorder recorder;
    frmLogin dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    expectSpokenNames(dialog, {
                                  {"user name box", "txtUsername", "Label1", "Username:"},
                                  {"password box", "txtPassword", "Label2", "Password:"},
                                  {"server combo box, not its text 127.0.0.1", "lstIPAddress", "Label3", "Server:"},
                                  {"port box, not its text 8080", "txtPort", "lblPort", "Port:"},
                              });
    // Typing goes into the combo box's own line edit, which a reader announces when focused.
    auto* server = dialog.findChild<QComboBox*>("lstIPAddress");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(server->lineEdit())->text(QAccessible::Name), "Server:");
}

TEST(AccessibleNames, PasswordIsReportedAsPasswordAndNeverReadOut) {
    DesktopRecorder recorder;
    frmLogin dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(dialog.findChild<QLineEdit*>("txtPassword"), "s3cret");

    QAccessibleInterface* password = accessibleChild(dialog, "txtPassword");
    ASSERT_NE(password, nullptr);
    EXPECT_TRUE(password->state().passwordEdit);
    EXPECT_FALSE(password->text(QAccessible::Value).contains("s3cret"));
    QAccessibleInterface* user = accessibleChild(dialog, "txtUsername");
    EXPECT_FALSE(user->state().passwordEdit) << "only the password box is one";
}

TEST(AccessibleNames, ContactListIsNamedAfterItsCaption) {
    DesktopRecorder recorder;
    frmMain window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    expectSpokenNames(window, {{"the contact list", "List1", "Label2", "Server Contacts:"}});
}
