#pragma once
// Stands in for the real desktop while it lives: keeps every message box and every request to
// end the program, and blocks on nothing.

#include "app/Desktop.h"

#include <functional>
#include <vector>

class DesktopRecorder final : public Desktop {
public:
    struct Message {
        QString text;
        MessageStyle style;
        QString title;
    };

    DesktopRecorder() : m_previous(setDesktop(this)) {}
    ~DesktopRecorder() override { setDesktop(m_previous); }
    DesktopRecorder(const DesktopRecorder&) = delete;
    DesktopRecorder& operator=(const DesktopRecorder&) = delete;

    void showMessage(const QString& text, MessageStyle style, const QString& title) override {
        messages.push_back({text, style, title});
        if (onMessage) {
            onMessage(messages.back());
        }
    }
    QString chooseSaveFile(QWidget* /*parent*/, const QString& suggestedName) override {
        suggestedNames << suggestedName;
        return saveAnswer;
    }
    QStringList chooseImportFiles(QWidget* /*parent*/) override {
        ++importDialogs;
        return importAnswer;
    }
    bool askToDelete(QWidget* /*parent*/, const QString& question) override {
        questions << question;
        return deleteAnswer;
    }
    bool confirm(QWidget* /*parent*/, const QString& question) override {
        questions << question;
        return confirmAnswer;
    }
    void endProgram() override { ++endings; }

    QStringList texts() const {
        QStringList all;
        for (const Message& message : messages) {
            all << message.text;
        }
        return all;
    }

    std::vector<Message> messages;
    int endings = 0;
    QString saveAnswer;          // what the Save As dialog answers; empty: cancelled
    QStringList suggestedNames;  // the name each Save As dialog was opened with
    QStringList importAnswer;    // what the Import dialog answers; empty: cancelled
    int importDialogs = 0;
    QStringList questions;                          // every question asked, a delete's included
    bool deleteAnswer = false;                      // what it answers: true for Delete
    bool confirmAnswer = false;                     // what each answers
    std::function<void(const Message&)> onMessage;  // runs while the "box" would be up

private:
    Desktop* m_previous;
};
