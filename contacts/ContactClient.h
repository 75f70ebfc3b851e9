#pragma once
// The operations on the server's contact folder and what the main window does with them. One
// client per operation: frmMain builds it from modMain's current login state. Every exchange goes
// through the client's ContactFolder; the window is reached only through ContactScreen, from the
// thread that runs the operation. Failures reach the user as message boxes; nothing here throws
// on a server's answer.

#include "contacts/ContactFolder.h"
#include "contacts/ContactScreen.h"
#include "contacts/DropItems.h"
#include "contacts/HttpExchange.h"
#include "contacts/LoginState.h"
#include "contacts/OrderedFetch.h"
#include "contacts/WindowOutcome.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text the details view shows for a contact's GET: its bytes as UTF-8 when they are valid
// UTF-8, else as Windows-1252; an error as its in-band text ("Error:404"), no answer as empty text.
std::u16string detailsText(const modWININET::HttpResult& answer);

class ContactClient {
public:
    // Contacts are fetched over http; tries again wait by pause.
    ContactClient(ContactScreen& screen, LoginState login, HttpExchange http = modWININET::exchange,
                  Pause pause = sleepPause);

    // Appends one line per contact to the list, in the folder's order; never clears it. An href
    // whose last segment is empty names the folder or nothing: it gets no GET and no line. A
    // contact whose server certificate is refused ends the listing as a refused PROPFIND does,
    // with the lines before it kept. The message and result are windowEnding's for the outcome.
    ListingResult ListContacts();
    // The answer of one GET of a contact by its file name (the bytes of its href segment), as
    // List1_DblClick fetches it: for a window that takes the contact's bytes elsewhere (the
    // clipboard, a file).
    modWININET::HttpResult fetchContact(std::string_view file) const;
    // Fetches the contact of screen.selectedFile(), the text of its file name's bytes, and shows
    // its detailsText in the details view.
    void List1_DblClick();
    // Posts each card of every dropped item, whole or cut short (one POST each, byte for byte), an
    // item without a card whole when it holds "VCARD" in any case, rejects the rest, then clears
    // and lists again, and gives that listing's result. The notice counts the POSTs plus the rejections. nullopt: the
    // drop carried no file list (the message contacttext::invalidDrop, nothing else; Listed).
    ListingResult Form_OLEDragDrop(const std::optional<std::vector<DropItem>>& items);

    // The folder every exchange of this client goes through: for the writes of DeleteContacts.h,
    // RestoreContacts.h and the editor's save.
    const ContactFolder& folder() const { return m_folder; }

private:
    std::string itemBytes(const DropItem& item) const;

    ContactScreen& m_screen;
    ContactFolder m_folder;
};
