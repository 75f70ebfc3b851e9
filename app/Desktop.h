#pragma once
// The one way the program shows a message box, asks for a file or ends itself. The default shows a
// real modal QMessageBox (a DetailsBox for MessageStyle::Details) or file dialog and ends the
// program through the application's own end; tests install a recorder so no box blocks and the
// test process lives on.

#include "app/AppTexts.h"
#include "contacts/ContactScreen.h"

#include <QString>
#include <QStringList>

class QWidget;

class Desktop {
public:
    virtual ~Desktop() = default;
    // Modal: returns when the box is dismissed. An empty title means kApplicationTitle.
    virtual void showMessage(const QString& text, MessageStyle style, const QString& title) = 0;
    // Modal: the file the user chose to save a contact as (see makeSaveDialog); empty: cancelled.
    virtual QString chooseSaveFile(QWidget* parent, const QString& suggestedName) = 0;
    // Modal: the files the user chose to import (see makeImportDialog); empty: cancelled.
    virtual QStringList chooseImportFiles(QWidget* parent) = 0;
    // Modal: the question before a delete (see DeleteQuestion.h); true only for its Delete button.
    virtual bool askToDelete(QWidget* parent, const QString& question) = 0;
    // Modal: whether the user answered Yes to question (No is the default answer).
    virtual bool confirm(QWidget* parent, const QString& question) = 0;
    // Ends the program at once with status 0, asking nothing and showing nothing more: every event
    // loop ends (main's exec() returns 0; one not yet running is main's to skip), transfers in
    // flight are aborted (net/TransferAbort.h), and boxes and dialogs asked for afterwards do not
    // show. A recorder returns; the caller then stops its work.
    virtual void endProgram() = 0;
};

Desktop& desktop();
// Installs replacement (nullptr restores the real desktop) and returns the one it replaces.
Desktop* setDesktop(Desktop* replacement);
