#pragma once
// The first exchange of list and export: the folder's PROPFIND, and what the run does when the
// answer is no listing.

#include "contacts/ContactFolder.h"

#include <string>
#include <variant>
#include <vector>

// The contact files of the folder, in its order; or, when the answer is no listing, the exit
// status after the window's message for it went to standard error: exitRejected for 401 and 403,
// exitNoFolder for the rest (unreachable, not a contact folder, TLS refused). The contact files
// are ContactFolder's text of them (see ContactFileText.h).
std::variant<std::vector<std::u16string>, int> listFolder(const ContactFolder& folder);

// The window's message for an answer that is not a whole success, and the exit status that goes
// with it: exitRejected for 401 and 403, exitNoFolder when no whole answer came, exitSomeFailed
// for any other status. Said on standard error with what names the request (e.g. the file).
int reportFailedAnswer(const ContactFolder& folder, const modWININET::HttpResult& answer, const std::string& subject);

// The reason an answer failed, in plain words: libcurl's reason or "the server answered 404".
std::string failureText(const modWININET::HttpResult& answer);
