#include "cli/FolderListing.h"

#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "codec/Utf8.h"
#include "contacts/ContactTexts.h"
#include "contacts/RefusalText.h"

namespace {

using modWININET::Failure;

void tellText(std::u16string_view text) {
    tell(utf8::encode(text));
}

// The window's message for a refused login or TLS peer, and its status; nullopt for other answers.
std::optional<int> reportRefusal(const ContactFolder& folder, const modWININET::HttpResult& answer) {
    switch (classifyFolderAnswer(answer)) {
        case FolderAnswer::Unauthorized: tellText(contacttext::authenticationError); return exitRejected;
        case FolderAnswer::Forbidden: tellText(contacttext::forbiddenError); return exitRejected;
        case FolderAnswer::SecureConnectionRefused:
            tellText(secureConnectionRefused(folder.login(), answer));
            return exitNoFolder;
        default: return std::nullopt;
    }
}

}  // namespace

std::string failureText(const modWININET::HttpResult& answer) {
    if (answer.failure != Failure::None) {
        return answer.reason;
    }
    return "the server answered " + std::to_string(answer.status);
}

std::variant<std::vector<std::u16string>, int> listFolder(const ContactFolder& folder) {
    modWININET::HttpResult answer = folder.propfind();
    if (classifyFolderAnswer(answer) == FolderAnswer::Listing) {
        return contactFiles(std::move(answer));
    }
    if (const std::optional<int> status = reportRefusal(folder, answer)) {
        return *status;
    }
    tellText(contacttext::noContactFolder);
    // The window says no more; a person at a shell is helped by what actually went wrong.
    tell(answer.succeeded() ? "the server's answer lists no contacts (no D:response in it)" : failureText(answer));
    return exitNoFolder;
}

int reportFailedAnswer(const ContactFolder& folder, const modWININET::HttpResult& answer, const std::string& subject) {
    if (const std::optional<int> status = reportRefusal(folder, answer)) {
        return *status;
    }
    tell(subject + ": " + failureText(answer));
    return answer.whole() ? exitSomeFailed : exitNoFolder;
}
