#pragma once
// Saves an edited card so that nothing changed elsewhere is overwritten and a failure half way
// loses nothing; shared by the window's editor and `vqcontacts edit`. No window: the caller shows
// saveMessage and keeps the edit where the report says the server does not have it.
//
// An existing contact goes up by PUT with If-Match and the ETag it was opened with. Without a
// strong ETag (none, or a weak one, which If-Match never matches) the contact is fetched again
// first and the PUT goes only when its bytes are still those opened (then with the new GET's
// strong ETag, else If-Match: *). A server that takes no PUT (405, 501)
// gets the edit by POST, and only after that succeeded is the old one deleted, under the same
// condition. A new contact (no file) goes up by POST, as an upload does. Never throws.

#include "contacts/ContactFolder.h"
#include "contacts/Outcome.h"

#include <optional>
#include <string>

// What the editor opened: a GET's bytes and ETag.
struct OpenedContact {
    std::string file;  // the contact's file name (href segment bytes); empty for a new contact
    std::string bytes;
    std::optional<std::string> etag;
};

enum class SaveStep {
    Unchanged,  // the edit is the bytes opened: nothing was sent
    Saved,      // the edit replaced the contact (PUT)
    Posted,     // the edit went up as a new contact: a new one, or in place of a PUT refused
    Changed,    // the contact changed on the server since it was opened (412, other bytes, or gone):
                // nothing was written
    OldKept,    // the edit went up by POST, but the old version could not be deleted: it is still there
    Failed,     // the write did not succeed: the server has no part of the edit that is known of
};

struct SaveReport {
    SaveStep step = SaveStep::Failed;
    WriteOutcome write = WriteOutcome::Done;  // Failed, OldKept: how the failing request ended
    modWININET::HttpResult answer;            // Failed, OldKept: that request's answer, body dropped
    // Saved: the bytes the server holds now (a GET after the PUT; the edit when that GET fails);
    // Changed: the server's version now, empty when the contact is gone.
    std::string serverBytes;
};

SaveReport saveContact(const ContactFolder& folder, const OpenedContact& opened, const std::string& edited);

// The message for a report, empty for Unchanged, Saved and Posted.
std::u16string saveMessage(const LoginState& login, const SaveReport& report);
