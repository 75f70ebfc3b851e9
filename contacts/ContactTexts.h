#pragma once
// The fixed texts of the contact folder's dialect and every text the contact logic shows, word for
// word. The windows' own texts are in app/AppTexts.h.

#include <string_view>

namespace contacttext {

inline constexpr std::u16string_view storePath = u"vqhttpmail/2/3/4/Contacts";
inline constexpr std::u16string_view contactPrefix = u"vqhttpmail/2/3/4/Contacts/";

// The PROPFIND body: 13 lines, 286 characters; the server only needs the hrefs it answers with.
inline constexpr std::u16string_view propfindBody =
    u"<?xml version=\"1.0\"?>\r\n"
    u"<D:propfind xmlns:D=\"DAV:\" xmlns:hm=\"urn:schemas:httpmail:\" xmlns:m=\"urn:schemas:mailheader:\">\r\n"
    u"\t<D:prop>\r\n"
    u"\t\t<D:isfolder/>\r\n"
    u"\t\t<hm:read/>\r\n"
    u"\t\t<m:hasattachment/>\r\n"
    u"\t\t<m:to/>\r\n"
    u"\t\t<m:from/>\r\n"
    u"\t\t<m:subject/>\r\n"
    u"\t\t<m:date/>\r\n"
    u"\t\t<D:getcontentlength/>\r\n"
    u"\t</D:prop>\r\n"
    u"</D:propfind>";

inline constexpr std::u16string_view authenticationError = u"Authentication Error: Please check credentials.";
inline constexpr std::u16string_view forbiddenError = u"Communications Failure: Unable to connect to remote host.";
inline constexpr std::u16string_view noContactFolder =
    u"Server does not seem to support remote contact administration or does not have any contact "
    u"defined. You may have also specified an invalid password.";

// The caption while contacts are fetched: progressStart, the contact's number, progressOf, the count.
inline constexpr std::u16string_view progressStart = u"Retreiving Contact from Server ";  // the program's own spelling
inline constexpr std::u16string_view progressOf = u" of ";
inline constexpr std::u16string_view listedCaption = u"Velqor Personal Contacts Manager";

// A list line is the contact's name, a blank and the file name between fileOpen and fileClose;
// a double-click reads the file name back between the same two.
inline constexpr std::u16string_view fileOpen = u"[";
inline constexpr std::u16string_view fileClose = u"]";

// The title of the drop import's messages and of the login dialog's refusals.
inline constexpr std::u16string_view messageTitle = u"Velqor Personal Contact Manager";
inline constexpr std::u16string_view invalidDrop = u"Invalid Data Format";
inline constexpr std::u16string_view notVcard = u"Error: Item is not in VCF format";
// The notice before a drop is posted: noticeStart, the number of contacts, noticeEnd.
inline constexpr std::u16string_view noticeStart = u"Abount to Post ";  // the program's own spelling
inline constexpr std::u16string_view noticeEnd = u" Contacts to Server";

}  // namespace contacttext
