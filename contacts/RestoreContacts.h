#pragma once
// Brings deleted contacts back, byte for byte, each under its own file name where it can: a PUT
// with If-None-Match: *, so nothing that took the name meanwhile is overwritten. Where the name is
// taken (412) by other bytes, or the server takes no PUT (405, 501), the card goes up by POST, as
// an upload does, under a name the server picks.

#include "contacts/ContactFolder.h"
#include "contacts/OrderedFetch.h"
#include "contacts/Outcome.h"

#include <cstddef>
#include <string>
#include <vector>

struct DeletedContact {
    std::string file;   // the bytes of its href segment
    std::string bytes;  // exactly as the server had them
};

enum class RestoredAs {
    OwnName,     // back under its file name (or found there already, with these very bytes)
    ServerName,  // posted: the server named it, so only a new listing shows its file
};

struct RestoreResult {
    WriteOutcome outcome = WriteOutcome::Failed;  // Done: the server holds the bytes again
    RestoredAs as = RestoredAs::OwnName;
    modWININET::HttpResult answer;  // the deciding answer without its body; a PUT's ETag included
};

// One result per contact, in their order, width at a time. A refused login or secure connection
// sends no more: the contacts not sent get that refusal.
std::vector<RestoreResult> restoreContacts(const ContactFolder& folder, const std::vector<DeletedContact>& contacts,
                                           std::size_t width = kFetchWidth);
