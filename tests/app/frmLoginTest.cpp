#include "app/LoginCheck.h"
#include "app/frmLogin.h"
#include "app/modMain.h"
#include "tests/app/DesignLayout.h"
#include "tests/app/DesktopRecorder.h"
#include "tests/app/LoginRobot.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

struct LoginDialogTest : testing::Test {
    void SetUp() override {
        modMain::sServer = "old.server";
        modMain::lPort = 1234;
        modMain::sAuthorization = "Basic b2xkOm9sZA==";
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    template <typename Widget>
    Widget* child(const char* name) {
        return namedChild<Widget>(dialog, name);
    }

    void fill(const QString& user, const QString& password, const QString& server, const QString& port) {
        LoginRobot::type(dialog, {user, password, server, port});
    }

    void expectStateUnchanged() {
        EXPECT_EQ(modMain::sServer, "old.server");
        EXPECT_EQ(modMain::lPort, 1234);
        EXPECT_EQ(modMain::sAuthorization, "Basic b2xkOm9sZA==");
    }

    DesktopRecorder recorder;
    frmLogin dialog;
};

}  // namespace

TEST_F(LoginDialogTest, RefusalsShowTheirMessageKeepEntriesAndState) {
    struct Row {
        const char* why;
        const char* user;
        const char* password;
        const char* server;
        const char* port;
        QString message;
    };
    const Row rows[] = {
        {"no user name", "", "pw", "127.0.0.1", "8080", kMissingEntryMessage},
        {"no password", "user", "", "127.0.0.1", "8080", kMissingEntryMessage},
        {"no server", "user", "pw", "", "8080", kMissingEntryMessage},
        {"port 0", "user", "pw", "127.0.0.1", "0", kBadPortMessage},
        {"port letters", "user", "pw", "127.0.0.1", "http", kBadPortMessage},
        {"port empty", "user", "pw", "127.0.0.1", "", kBadPortMessage},
        {"port too high", "user", "pw", "127.0.0.1", "65536", kBadPortMessage},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        recorder.messages.clear();
        fill(row.user, row.password, row.server, row.port);
        QTest::mouseClick(child<QPushButton>("cmdOK"), Qt::LeftButton);
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0].text, row.message);
        EXPECT_EQ(recorder.messages[0].style, MessageStyle::Information);
        EXPECT_EQ(recorder.messages[0].title, "Velqor Personal Contact Manager");
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(child<QLineEdit>("txtUsername")->text(), row.user);
        EXPECT_EQ(child<QLineEdit>("txtPort")->text(), row.port);
        expectStateUnchanged();
    }
}

TEST_F(LoginDialogTest, LoginWritesAllThreeValuesAndCloses) {
    fill("demo", "demo", "  mail.example", " 65535 ");
    QTest::mouseClick(child<QPushButton>("cmdOK"), Qt::LeftButton);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.loginResult(), LoginResult::LoggedIn);
    EXPECT_EQ(modMain::sServer, "  mail.example");
    EXPECT_EQ(modMain::lPort, 65535);
    EXPECT_EQ(modMain::sAuthorization, "Basic ZGVtbzpkZW1v");
}

TEST_F(LoginDialogTest, EnterAndEscapeDoNothing) {
    fill("demo", "demo", "127.0.0.1", "8080");
    const char* fields[] = {"txtUsername", "txtPassword", "txtPort", "cmdOK", "cmdClose"};
    for (const char* name : fields) {
        SCOPED_TRACE(name);
        auto* field = child<QWidget>(name);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Enter);
        QTest::keyClick(field, Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible());
    }
    QTest::keyClick(child<QComboBox>("lstIPAddress")->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(child<QComboBox>("lstIPAddress")->count(), 0) << "Enter must not fill the list";
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(recorder.endings, 0);
    expectStateUnchanged();
}

TEST_F(LoginDialogTest, CancelEndsTheProgramAndKeepsTheState) {
    fill("demo", "demo", "127.0.0.1", "8080");
    QTest::mouseClick(child<QPushButton>("cmdClose"), Qt::LeftButton);
    EXPECT_EQ(recorder.endings, 1);
    EXPECT_EQ(dialog.loginResult(), LoginResult::ProgramEnded);
    EXPECT_FALSE(dialog.isVisible());
    expectStateUnchanged();
}

TEST_F(LoginDialogTest, CancelAccessKeyIsAltC) {
    QTest::keyClick(dialog.windowHandle(), Qt::Key_C, Qt::AltModifier);
    // An access key "animates" the click: it lands a moment later.
    EXPECT_TRUE(QTest::qWaitFor([this] { return recorder.endings == 1; }, 2000));
}

TEST_F(LoginDialogTest, CloseBoxReturnsWithoutTouchingTheState) {
    fill("demo", "demo", "127.0.0.1", "8080");
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.loginResult(), LoginResult::Closed);
    EXPECT_EQ(recorder.endings, 0);
    expectStateUnchanged();
}

TEST_F(LoginDialogTest, PasswordShowsAnAsteriskPerCharacter) {
    auto* password = child<QLineEdit>("txtPassword");
    QTest::keyClicks(password, "s3cr t");
    EXPECT_EQ(password->displayText(), "******");
    EXPECT_EQ(password->text(), "s3cr t");
}

TEST_F(LoginDialogTest, StartsWithDesignValuesAndFocusInUsername) {
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>("txtUsername"));
    EXPECT_EQ(dialog.windowTitle(), "Velqor Authenticatication");
    EXPECT_TRUE(child<QLineEdit>("txtUsername")->text().isEmpty());
    EXPECT_TRUE(child<QLineEdit>("txtPassword")->text().isEmpty());
    EXPECT_EQ(child<QComboBox>("lstIPAddress")->currentText(), "127.0.0.1");
    EXPECT_TRUE(child<QComboBox>("lstIPAddress")->isEditable());
    EXPECT_EQ(child<QComboBox>("lstIPAddress")->count(), 0);
    EXPECT_EQ(child<QLineEdit>("txtPort")->text(), "8080");
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(child<QPushButton>("cmdOK")->isDefault() || child<QPushButton>("cmdOK")->autoDefault());
    EXPECT_FALSE(child<QPushButton>("cmdClose")->isDefault() || child<QPushButton>("cmdClose")->autoDefault());
}

TEST_F(LoginDialogTest, TabVisitsTheControlsInDesignOrder) {
    const QStringList expected = {"txtPassword", "lstIPAddress", "txtPort", "cmdOK", "cmdClose", "txtUsername"};
    QStringList visited;
    for (int step = 0; step < expected.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // The combo box's editor has no name of its own; its box has.
        while (focus && focus->objectName().isEmpty()) {
            focus = focus->parentWidget();
        }
        visited << (focus ? focus->objectName() : QString());
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(LoginDialogTest, ControlsSitAtTheirDesignPlaceAndCaptionsFit) {
    expectDesignLayout(dialog,
                       {
                           {"txtUsername", {1065, 825, 2805, 285}},
                           {"txtPassword", {1065, 1200, 2805, 285}},
                           {"lstIPAddress", {1080, 1560, 1665, 315}},
                           {"txtPort", {3300, 1590, 570, 285}},
                           {"cmdOK", {1290, 2055, 1230, 420}},
                           {"lblPort", {2835, 1620, 465, 255}},
                           {"cmdClose", {2640, 2055, 1230, 420}},
                           {"Label3", {135, 1590, 915, 255}},
                           {"Label2", {135, 1215, 915, 255}},
                           {"Label1", {135, 825, 915, 255}},
                           {"Label5", {150, 120, 3765, 465}},
                       },
                       3990, 2565);
}

TEST(frmLoginShowModal, EachShowingStartsFromTheDesignValues) {
    DesktopRecorder recorder;
    std::vector<LoginRobot::Entries> seen;
    // Types into the first showing, then looks at the second before closing it.
    auto act = [&seen] {
        auto* dialog = qobject_cast<frmLogin*>(QApplication::activeModalWidget());
        if (!dialog) {
            return;
        }
        seen.push_back(LoginRobot::entriesOf(*dialog));
        LoginRobot::type(*dialog, {"someone", "else", "mail.invalid", "81"});
        dialog->close();
    };
    for (int showing = 0; showing < 2; ++showing) {
        QTimer::singleShot(0, act);
        EXPECT_EQ(frmLogin::showModal(nullptr), LoginResult::Closed);
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].user, "");
    EXPECT_EQ(seen[1].password, "");
    EXPECT_EQ(seen[1].server, "127.0.0.1");
    EXPECT_EQ(seen[1].port, "8080");
}
