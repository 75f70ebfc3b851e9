#include "app/frmLogin.h"

#include "app/AccessibleLabel.h"
#include "app/AppIcon.h"
#include "app/AppTexts.h"
#include "app/AsteriskPasswordStyle.h"
#include "app/CaptionFit.h"
#include "app/Controls.h"
#include "app/Desktop.h"
#include "app/LoginCheck.h"
#include "app/Twips.h"
#include "app/WindowCentring.h"
#include "app/modMain.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmLogin::frmLogin(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(kLoginCaption);
    setWindowIcon(appIcon());
    createControls();
    layOut();
    connect(m_cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &frmLogin::cmdClose_Click);
}

void frmLogin::createControls() {
    m_txtUsername = makeControl<QLineEdit>(this, "txtUsername");
    m_txtPassword = makeControl<QLineEdit>(this, "txtPassword");
    auto* asterisks = new AsteriskPasswordStyle;
    asterisks->setParent(m_txtPassword);  // setStyle does not take ownership
    m_txtPassword->setStyle(asterisks);
    m_txtPassword->setEchoMode(QLineEdit::Password);
    m_lstIPAddress = makeControl<QComboBox>(this, "lstIPAddress");
    m_lstIPAddress->setEditable(true);
    // Enter must not add the typed server to the list: the list stays empty.
    m_lstIPAddress->setInsertPolicy(QComboBox::NoInsert);
    m_lstIPAddress->setEditText(kDesignServer);
    m_txtPort = makeControl<QLineEdit>(this, "txtPort");
    m_txtPort->setText(kDesignPort);
    m_cmdOK = makeButton(this, "cmdOK", kLoginButton);
    m_lblPort = makeLabel(this, "lblPort", kPortLabel);
    m_cmdClose = makeButton(this, "cmdClose", kCancelButton);
    m_label3 = makeLabel(this, "Label3", kServerLabel);
    m_label2 = makeLabel(this, "Label2", kPasswordLabel);
    m_label1 = makeLabel(this, "Label1", kUsernameLabel);
    m_label5 = makeLabel(this, "Label5", kLoginPrompt);
    m_label5->setWordWrap(true);
    labelControl(m_label1, m_txtUsername);
    labelControl(m_label2, m_txtPassword);
    labelControl(m_label3, m_lstIPAddress);
    labelControl(m_lblPort, m_txtPort);
    // Labels take no focus, so the tab chain is the focusable controls in design order.
    setTabOrder(m_txtUsername, m_txtPassword);
    setTabOrder(m_txtPassword, m_lstIPAddress);
    setTabOrder(m_lstIPAddress, m_txtPort);
    setTabOrder(m_txtPort, m_cmdOK);
    setTabOrder(m_cmdOK, m_cmdClose);
    m_txtUsername->setFocus();
}

void frmLogin::layOut() {
    fixClientAreaInTwips(this, 3990, 2565);
    placeInTwips(m_txtUsername, {1065, 825, 2805, 285});
    placeInTwips(m_txtPassword, {1065, 1200, 2805, 285});
    placeInTwips(m_lstIPAddress, {1080, 1560, 1665, 315});
    placeInTwips(m_txtPort, {3300, 1590, 570, 285});
    placeInTwips(m_cmdOK, {1290, 2055, 1230, 420});
    placeInTwips(m_lblPort, {2835, 1620, 465, 255});
    placeInTwips(m_cmdClose, {2640, 2055, 1230, 420});
    placeInTwips(m_label3, {135, 1590, 915, 255});
    placeInTwips(m_label2, {135, 1215, 915, 255});
    placeInTwips(m_label1, {135, 825, 915, 255});
    placeInTwips(m_label5, {150, 120, 3765, 465});
    fitCaptionFont(this);
    centreOnScreen(this);
}

LoginResult frmLogin::showModal(QWidget* parent) {
    frmLogin dialog(parent);
    dialog.exec();
    return dialog.loginResult();
}

void frmLogin::cmdOK_Click() {
    const LoginEntries entries{m_txtUsername->text(), m_txtPassword->text(), m_lstIPAddress->currentText(),
                               m_txtPort->text()};
    const auto outcome = checkLogin(entries);
    if (const auto* refusal = std::get_if<LoginRefusal>(&outcome)) {
        desktop().showMessage(refusal->message, MessageStyle::Information, kLoginTitle);
        return;
    }
    modMain::loginState = std::get<LoginState>(outcome);
    m_result = LoginResult::LoggedIn;
    hide();
    accept();
}

void frmLogin::cmdClose_Click() {
    m_result = LoginResult::ProgramEnded;
    hide();
    done(QDialog::Rejected);
    desktop().endProgram();
}

void frmLogin::keyPressEvent(QKeyEvent* event) {
    // Escape would reject the dialog; here it neither cancels nor closes.
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
