#pragma once
// What the main window makes of an operation's outcome: the message it shows and what frmMain does
// next. Decided by one switch over the outcomes, so a new one is named by the compiler.

#include "contacts/ContactScreen.h"
#include "contacts/LoginState.h"
#include "contacts/Outcome.h"

#include <string>

enum class ListingResult {
    Listed,        // the list got one line per contact (possibly none)
    Rejected,      // 401, 403 or a refused secure connection: ask for the login again
    ProgramEnded,  // fatal: the message was shown and dismissed; the caller ends the program
};

struct WindowEnding {
    std::u16string prompt;  // empty: no message
    MessageStyle style = MessageStyle::Plain;
    std::u16string title;  // empty: the application's
    ListingResult result = ListingResult::Listed;
};

// The message and result for verdict; login names the server in the messages that name it.
WindowEnding windowEnding(const LoginState& login, const Verdict& verdict);

// Shows windowEnding's message, when there is one, and answers its result.
ListingResult showOutcome(ContactScreen& screen, const LoginState& login, const Verdict& verdict);
