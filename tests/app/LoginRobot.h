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

    LoginRobot() {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start();
    }

    void login(const Entries& entries) { m_steps.push_back({false, entries}); }
    void cancel() { m_steps.push_back({true, {}}); }

    std::vector<Entries> shown;  // what each showing held before the robot typed

    // What the dialog's four fields hold.
    static Entries entriesOf(const frmLogin& dialog) {
        return {field(dialog, "txtUsername")->text(), field(dialog, "txtPassword")->text(),
                dialog.findChild<QComboBox*>("lstIPAddress")->currentText(), field(dialog, "txtPort")->text()};
    }

    // Types the entries into the dialog's four fields.
    static void type(const frmLogin& dialog, const Entries& entries) {
        field(dialog, "txtUsername")->setText(entries.user);
        field(dialog, "txtPassword")->setText(entries.password);
        dialog.findChild<QComboBox*>("lstIPAddress")->setEditText(entries.server);
        field(dialog, "txtPort")->setText(entries.port);
    }

private:
    static QLineEdit* field(const frmLogin& dialog, const char* name) { return dialog.findChild<QLineEdit*>(name); }

    void answer() {
        auto* dialog = qobject_cast<frmLogin*>(QApplication::activeModalWidget());
        if (!dialog || dialog->property("answered").toBool()) {
            return;
        }
        dialog->setProperty("answered", true);
        shown.push_back(entriesOf(*dialog));
        // With no step left the dialog is cancelled, so a test that expected fewer showings ends.
        const Step step = m_steps.empty() ? Step{true, {}} : m_steps.front();
        if (!m_steps.empty()) {
            m_steps.pop_front();
        }
        if (step.cancel) {
            dialog->findChild<QPushButton*>("cmdClose")->click();
            return;
        }
        type(*dialog, step.entries);
        dialog->findChild<QPushButton*>("cmdOK")->click();
    }

    QTimer m_timer;
    std::deque<Step> m_steps;
};
