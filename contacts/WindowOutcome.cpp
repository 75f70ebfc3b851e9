#include "contacts/WindowOutcome.h"

#include "contacts/ContactTexts.h"
#include "contacts/RefusalText.h"

namespace {

using Text = std::u16string (*)(const LoginState&, const Verdict&);

struct Row {
    Outcome outcome;
    Text prompt;  // nullptr: no message
    MessageStyle style;
    bool titled;  // the program's title rather than the application's
    ListingResult result;
};

constexpr Text kAuthentication = [](const LoginState&, const Verdict&) {
    return std::u16string(contacttext::authenticationError);
};
constexpr Text kForbidden = [](const LoginState&, const Verdict&) {
    return std::u16string(contacttext::forbiddenError);
};
constexpr Text kRefused = [](const LoginState& login, const Verdict& verdict) {
    return secureConnectionRefused(login, verdict.answer);
};
constexpr Text kNoFolder = [](const LoginState&, const Verdict&) {
    return std::u16string(contacttext::noContactFolder);
};
constexpr Text kStopped = [](const LoginState& login, const Verdict& verdict) {
    return serverStoppedAnswering(login, verdict.listed, verdict.total) + u" Refresh tries again.";
};

// A refused secure connection is a login to ask for again: the user can correct the server text.
// The lines listed before a refusal or a stop stay: they came from the server as it was verified.
constexpr Row kRows[] = {
    {Outcome::Done, nullptr, MessageStyle::Plain, false, ListingResult::Listed},
    {Outcome::Unauthorized, kAuthentication, MessageStyle::Plain, false, ListingResult::Rejected},
    {Outcome::Forbidden, kForbidden, MessageStyle::Plain, false, ListingResult::Rejected},
    {Outcome::SecureConnectionRefused, kRefused, MessageStyle::Information, true, ListingResult::Rejected},
    {Outcome::NoContactFolder, kNoFolder, MessageStyle::Plain, false, ListingResult::ProgramEnded},
    {Outcome::Unreachable, kNoFolder, MessageStyle::Plain, false, ListingResult::ProgramEnded},
    {Outcome::ServerStopped, kStopped, MessageStyle::Information, true, ListingResult::Listed},
    // A contact whose GET failed has its line with no name: the list says it already.
    {Outcome::SomeFailed, nullptr, MessageStyle::Plain, false, ListingResult::Listed},
};

}  // namespace

WindowEnding windowEnding(const LoginState& login, const Verdict& verdict) {
    for (const Row& row : kRows) {
        if (row.outcome == verdict.outcome) {
            return {row.prompt ? row.prompt(login, verdict) : std::u16string(), row.style,
                    row.titled ? std::u16string(contacttext::messageTitle) : std::u16string(), row.result};
        }
    }
    return {std::u16string(contacttext::noContactFolder), MessageStyle::Plain, {}, ListingResult::ProgramEnded};
}

ListingResult showOutcome(ContactScreen& screen, const LoginState& login, const Verdict& verdict) {
    const WindowEnding ending = windowEnding(login, verdict);
    if (!ending.prompt.empty()) {
        screen.showMessage(ending.prompt, ending.style, ending.title);
    }
    return ending.result;
}
