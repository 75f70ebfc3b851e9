#pragma once
// The modal login dialog. Each showing is a new dialog with the design values; a successful
// login (cmdOK) writes the whole login state of modMain at once, nothing else writes it.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

enum class LoginResult {
    LoggedIn,      // cmdOK's login succeeded; modMain holds the new state
    Closed,        // the close box: modMain is as it was, the caller goes on as after a login
    ProgramEnded,  // cmdClose: the program was told to end; the caller stops
};

class frmLogin final : public QDialog {
    Q_OBJECT
public:
    explicit frmLogin(QWidget* parent = nullptr);

    // Shows a fresh dialog modally and returns how it was left.
    static LoginResult showModal(QWidget* parent);

    LoginResult loginResult() const { return m_result; }

    void cmdOK_Click();
    void cmdClose_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void layOut();

    QLineEdit* m_txtUsername = nullptr;
    QLineEdit* m_txtPassword = nullptr;
    QComboBox* m_lstIPAddress = nullptr;
    QLineEdit* m_txtPort = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QLabel* m_lblPort = nullptr;
    QPushButton* m_cmdClose = nullptr;
    QLabel* m_label3 = nullptr;
    QLabel* m_label2 = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_label5 = nullptr;
    LoginResult m_result = LoginResult::Closed;
};
