#pragma once
// The seven commands of vqcontacts. Each answers its exit status (ExitStatus.h) after telling every
// failure on standard error; each throws LocalError for a local failure (exit status 1) that stops
// it, such as standard output closing.

#include "cli/UploadItems.h"
#include "contacts/ContactFolder.h"

#include <string>
#include <vector>

// One line per contact in folder order: the window's name for it as UTF-8, a tab, and its FILE,
// the bytes of its href segment; both written as ListField.h says, so each line holds one tab. A contact whose GET
// failed still gets its line, with an empty name, as in the window.
int listCommand(const ContactFolder& folder);

// The bytes of one contact as the server sent them. field is FILE as list prints it (its escapes
// are undone): the bytes of the contact's href segment, which go out unchanged.
int showCommand(const ContactFolder& folder, const std::string& field);

// Every contact into target (a folder, see ExportFolder.h and contacts/ExportName.h), or to standard output
// one after another when target is "-". Contacts are written as they arrive, in folder order,
// so memory stays bounded whatever the folder's size.
int exportCommand(const ContactFolder& folder, const std::string& target);

// One POST per card of each item, as the window's drop import splits them, in order. An item with
// no card is refused and counts as failed. A refused login, or a server that cannot be reached,
// stops at once with exit status 2 or 3.
int uploadCommand(const ContactFolder& folder, const std::vector<UploadItem>& items);

// Deletes each contact named by FILE (as list writes it): a GET for its ETag and bytes, then a
// DELETE under If-Match (see contacts/DeleteContacts.h). Asks on the terminal first, naming the
// contacts, No the default, unless yes; with no terminal and no yes it deletes nothing (exit 1).
// Exit 0 when every contact went; 4 when one was absent, changed, refused or failed, each named
// on standard error.
int deleteCommand(const ContactFolder& folder, const std::vector<std::string>& fields, bool yes);

// The FILE of every contact whose card equals an earlier one's in folder order (line ends and
// trailing blank lines aside, see contacts/CardDigest.h), one a line, escaped as list writes it.
int duplicatesCommand(const ContactFolder& folder);

// One contact into a private file for $VISUAL, else $EDITOR, else vi (EditFile.h), then saved as
// the window's editor saves (contacts/ContactSave.h) when the editor ended well and the text
// changed and is still one card. Unchanged: nothing sent, 0. No card, or an editor that failed:
// nothing sent, 1. A conflict or a failed save: 4 (2 for refused credentials). Whenever the
// server does not have what was typed, the private file stays and the message names it.
int editCommand(const ContactFolder& folder, const std::string& field);
