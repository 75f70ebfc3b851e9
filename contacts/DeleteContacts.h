#pragma once
// The delete of several contacts, shared by the window and vqcontacts: for each, a GET just before
// (for the bytes an undo brings back, and the version now on the server), then one DELETE on its
// contact path under If-Match with that GET's ETag. Nothing is deleted whose bytes differ from
// those its line was made from.

#include "contacts/CardDigest.h"
#include "contacts/ContactFolder.h"
#include "contacts/OrderedFetch.h"
#include "contacts/Outcome.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct DeleteTarget {
    std::string file;  // the bytes of its href segment
    // What its line was made from; nullopt where no line was shown (vqcontacts names the file):
    // the contact as the GET finds it is the one deleted.
    std::optional<CardFacts> listed;
};

struct DeleteResult {
    // Done: the contact is gone. Changed: it differs from what its line was made from (another
    // ETag, other bytes, or a line whose bytes never came), or the DELETE's If-Match failed.
    WriteOutcome outcome = WriteOutcome::Failed;
    bool absent = false;            // the GET just before found no such contact: Done, nothing to undo
    std::string bytes;              // Done and not absent: the deleted bytes, exactly
    modWININET::HttpResult answer;  // the answer that decided, without its body: for messages
};

// One result per target, in their order. width contacts at a time; a refused login or secure
// connection sends no more, and the targets not sent get that refusal.
std::vector<DeleteResult> deleteContacts(const ContactFolder& folder, const std::vector<DeleteTarget>& targets,
                                         std::size_t width = kFetchWidth);

// The answer without its body, for a result to keep.
modWININET::HttpResult withoutBody(const modWININET::HttpResult& answer);
