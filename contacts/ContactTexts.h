#pragma once
// The fixed texts of the contact folder's dialect and of the contact messages, word for word.

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
inline constexpr std::u16string_view progressStart = u"Retreiving Contact from Server ";
inline constexpr std::u16string_view listedCaption = u"Velqor Personal Contacts Manager";

inline constexpr std::u16string_view dropTitle = u"Velqor Personal Contact Manager";
inline constexpr std::u16string_view invalidDrop = u"Invalid Data Format";
inline constexpr std::u16string_view notVcard = u"Error: Item is not in VCF format";

}  // namespace contacttext
