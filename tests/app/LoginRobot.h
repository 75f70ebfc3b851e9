#pragma once
// Answers the modal login dialog while frmMain::Form_Load waits on it: each showing gets the next
// step in turn (fill and press "Login", or press "&Cancel") and the values it showed are kept.

#include "app/frmLogin.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <deque>
#include <vector>

class LoginRobot {
public:
    struct Entries {
        QString user, password, server, port;
        bool operator==(const Entries&) const = default;
    };
    struct Step {
        bool cancel = false;
        Entries entries;
    };

    LoginRobot()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start();
    }

    void login(const Entries& entries) { m_steps.push_back({false, entries}); }
    void cancel() { m_steps.push_back({true, {}}); }

    std::vector<Entries> shown;  // what each showing held before the robot typed

private:
    void answer()
    {
        auto* dialog = qobject_cast<frmLogin*>(QApplication::activeModalWidget());
        if (!dialog || dialog->property("answered").toBool())
            return;
        dialog->setProperty("answered", true);
        auto* user = dialog->findChild<QLineEdit*>("txtUsername");
        auto* password = dialog->findChild<QLineEdit*>("txtPassword");
        auto* server = dialog->findChild<QComboBox*>("lstIPAddress");
        auto* port = dialog->findChild<QLineEdit*>("txtPort");
        shown.push_back({user->text(), password->text(), server->currentText(), port->text()});
        // With no step left the dialog is cancelled, so a test that expected fewer showings ends.
        const Step step = m_steps.empty() ? Step{true, {}} : m_steps.front();
        if (!m_steps.empty())
            m_steps.pop_front();
        if (step.cancel) {
            dialog->findChild<QPushButton*>("cmdClose")->click();
            return;
        }
        user->setText(step.entries.user);
        password->setText(step.entries.password);
        server->setEditText(step.entries.server);
        port->setText(step.entries.port);
        dialog->findChild<QPushButton*>("cmdOK")->click();
    }

    QTimer m_timer;
    std::deque<Step> m_steps;
};
