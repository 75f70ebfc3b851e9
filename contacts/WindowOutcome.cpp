#include "contacts/WindowOutcome.h"

#include "contacts/ContactTexts.h"
#include "contacts/RefusalText.h"

namespace {

WindowEnding plain(std::u16string_view prompt, ListingResult result) {
    return {std::u16string(prompt), MessageStyle::Plain, {}, result};
}

WindowEnding titled(std::u16string prompt, ListingResult result) {
    return {std::move(prompt), MessageStyle::Information, std::u16string(contacttext::messageTitle), result};
}

}  // namespace

// A refused secure connection is a login to ask for again: the user can correct the server text.
// The lines listed before a refusal or a stop stay: they came from the server as it was verified.
WindowEnding windowEnding(const LoginState& login, const Verdict& verdict) {
    switch (verdict.outcome) {
        case Outcome::Done: return plain({}, ListingResult::Listed);
        case Outcome::Unauthorized: return plain(contacttext::authenticationError, ListingResult::Rejected);
        case Outcome::Forbidden: return plain(contacttext::forbiddenError, ListingResult::Rejected);
        case Outcome::SecureConnectionRefused:
            return titled(secureConnectionRefused(login, verdict.answer), ListingResult::Rejected);
        case Outcome::NoContactFolder:
        case Outcome::Unreachable: return plain(contacttext::noContactFolder, ListingResult::ProgramEnded);
        case Outcome::ServerStopped:
            return titled(serverStoppedAnswering(login, verdict) + u" Refresh tries again.", ListingResult::Listed);
        // A contact whose GET failed has its line with no name: the list says it already. The
        // operation whose write may have been done lists again, as after a drop: the list shows
        // what arrived.
        case Outcome::SomeFailed:
        case Outcome::MayHaveBeenStored: return plain({}, ListingResult::Listed);
    }
    return plain(contacttext::noContactFolder, ListingResult::ProgramEnded);  // not reached: every case returns
}

ListingResult showOutcome(ContactScreen& screen, const LoginState& login, const Verdict& verdict) {
    const WindowEnding ending = windowEnding(login, verdict);
    if (!ending.prompt.empty()) {
        screen.showMessage(ending.prompt, ending.style, ending.title);
    }
    return ending.result;
}
