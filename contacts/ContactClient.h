#pragma once
// The operations on the server's contact folder and what the main window does with them. One
// client per operation: frmMain builds it from modMain's current login state. Every exchange goes
// through the HttpFunction (modWININET::HttpRequest by default); the window is reached only through
// ContactScreen. Failures reach the user as message boxes; nothing here throws on a server's answer.

#include "contacts/ContactScreen.h"
#include "contacts/DropItems.h"
#include "contacts/HttpFunction.h"
#include "contacts/LoginState.h"
#include "net/modWININET.h"

#include <optional>
#include <string>
#include <vector>

enum class ListingResult {
    Listed,        // the list got one line per contact (possibly none)
    Rejected,      // the server answered 401 or 403: ask for the login again
    ProgramEnded,  // fatal: the message was shown and endProgram() was called
};

class ContactClient {
public:
    ContactClient(ContactScreen& screen, LoginState login, HttpFunction http = modWININET::HttpRequest);

    // Appends one line per contact to the list; never clears it. An href whose last segment is
    // empty names the folder or nothing: it gets no GET and no line.
    ListingResult ListContacts();
    // The answer of one GET of ContactURL, unchanged: the vCard, "Error:" and the status, or empty.
    std::u16string GetContact(const std::u16string& ContactURL) const;
    // One POST of sData on the contact folder; the outcome is not reported.
    void PostContact(const std::u16string& sData) const;
    // Fetches the contact of screen.selectedLine() and shows its text in the details view: as
    // UTF-8 when its bytes are valid UTF-8, else as Windows-1252.
    void List1_DblClick();
    // Posts each complete card of every dropped item (one POST each, byte for byte), an item with
    // none whole when it holds "VCARD", rejects the rest, then clears and lists again. The notice
    // counts the POSTs plus the rejections. nullopt: the drop carried no file list (the message
    // contacttext::invalidDrop, nothing else happens).
    void Form_OLEDragDrop(const std::optional<std::vector<DropItem>>& items);

private:
    std::u16string headers() const;
    std::string itemBytes(const DropItem& item) const;

    ContactScreen& m_screen;
    LoginState m_login;
    HttpFunction m_http;
};
