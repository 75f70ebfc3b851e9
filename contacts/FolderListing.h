#pragma once
// A listing of the contact folder as the window and the command line both run it: the PROPFIND,
// then a GET of each contact, answers handed on in the folder's order.

#include "contacts/ContactFolder.h"
#include "contacts/OrderedFetch.h"
#include "contacts/Outcome.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct FolderListing {
    Verdict verdict;                 // as judgeListing gives it
    std::vector<std::string> files;  // Done: contactFiles of the answer
};
FolderListing listFolder(const ContactFolder& folder);

// GETs the contact of every file (see OrderedFetch.h), and calls deliver(i, answer) on this thread
// in the files' order. Ends Done when every GET succeeded, SomeFailed when some answered no
// contact, ServerStopped (with its cause, and how many of how many were delivered) when the server
// was taken to have stopped; a refusal (401, 403, a refused certificate or handshake) ends it at
// once with that outcome: that contact is not delivered and nothing more is fetched. An exception
// from deliver propagates once the fetches in flight have ended.
Verdict fetchFolder(const ContactFolder& folder, const std::vector<std::string>& files,
                    const std::function<void(std::size_t, modWININET::HttpResult&&)>& deliver);
