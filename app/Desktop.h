#pragma once
// The one way the program shows a message box or ends itself. The default shows a real modal
// QMessageBox (a DetailsBox for MessageStyle::Details) and ends the process; tests install a
// recorder so no box blocks and the test process lives on.

#include "app/AppTexts.h"
#include "contacts/ContactScreen.h"

#include <QString>

class Desktop {
public:
    virtual ~Desktop() = default;
    // Modal: returns when the box is dismissed. An empty title means kApplicationTitle.
    virtual void showMessage(const QString& text, MessageStyle style, const QString& title) = 0;
    // Ends the program at once with status 0. A recorder returns; the caller then stops its work.
    virtual void endProgram() = 0;
};

Desktop& desktop();
// Installs replacement (nullptr restores the real desktop) and returns the one it replaces.
Desktop* setDesktop(Desktop* replacement);
