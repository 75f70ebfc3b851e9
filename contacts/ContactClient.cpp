#include "contacts/ContactClient.h"

#include "contacts/ContactHrefs.h"
#include "contacts/ContactTexts.h"
#include "contacts/GetSubString.h"
#include "contacts/VCardName.h"

#include "codec/Utf8.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

std::u16string decimal(std::size_t number) {
    const std::string digits = std::to_string(number);
    return {digits.begin(), digits.end()};
}

// Everything after the last "/", unchanged; the whole href when it has none.
std::u16string lastSegment(const std::u16string& href) {
    const std::size_t slash = href.rfind(u'/');
    return slash == std::u16string::npos ? href : href.substr(slash + 1);
}

// Brackets in the name become parentheses, so a line's first fileOpen always opens the file name.
std::u16string displayLine(std::u16string name, const std::u16string& file) {
    using namespace contacttext;
    std::replace(name.begin(), name.end(), fileOpen.front(), u'(');
    std::replace(name.begin(), name.end(), fileClose.front(), u')');
    return name + u' ' + std::u16string(fileOpen) + file + std::u16string(fileClose);
}

}  // namespace

ContactClient::ContactClient(ContactScreen& screen, LoginState login, HttpFunction http)
    : m_screen(screen), m_login(std::move(login)), m_http(std::move(http)) {}

std::u16string ContactClient::headers() const {
    return u"Authorization: " + m_login.authorization + u"\r\n";
}

ListingResult ContactClient::ListContacts() {
    using namespace contacttext;
    std::u16string answer = m_http(m_login.server, m_login.port, u"PROPFIND", std::u16string(storePath),
                                   std::u16string(propfindBody), headers());
    if (answer == u"Error:401") {
        m_screen.showMessage(std::u16string(authenticationError), MessageStyle::Plain, {});
        return ListingResult::Rejected;
    }
    if (answer == u"Error:403") {
        m_screen.showMessage(std::u16string(forbiddenError), MessageStyle::Plain, {});
        return ListingResult::Rejected;
    }
    if (answer.find(u"D:response") == std::u16string::npos) {
        m_screen.showMessage(std::u16string(noContactFolder), MessageStyle::Plain, {});
        m_screen.endProgram();
        return ListingResult::ProgramEnded;
    }
    std::vector<std::u16string> hrefs = contactHrefs(std::move(answer));
    // An empty href has no segment to name a contact by, and one ending in "/" names a folder
    // (servers list the folder itself first): neither gets a GET or a line.
    std::erase_if(hrefs, [](const std::u16string& href) { return lastSegment(href).empty(); });
    m_screen.showWindow();
    const std::u16string ofTotal = std::u16string(progressOf) + decimal(hrefs.size());
    for (std::size_t i = 0; i < hrefs.size(); ++i) {
        m_screen.setCaption(std::u16string(progressStart) + decimal(i + 1) + ofTotal);
        const std::u16string file = lastSegment(hrefs[i]);
        const std::u16string vcard = GetContact(std::u16string(contactPrefix) + file);
        m_screen.appendLine(displayLine(vcardName(vcard), file));
    }
    m_screen.setCaption(std::u16string(listedCaption));
    return ListingResult::Listed;
}

std::u16string ContactClient::GetContact(const std::u16string& ContactURL) const {
    return m_http(m_login.server, m_login.port, u"GET", ContactURL, {}, headers());
}

void ContactClient::PostContact(const std::u16string& sData) const {
    m_http(m_login.server, m_login.port, u"POST", std::u16string(contacttext::storePath), sData, headers());
}

void ContactClient::List1_DblClick() {
    using namespace contacttext;
    const std::u16string file =
        GetSubString(m_screen.selectedLine(), std::u16string(fileOpen), std::u16string(fileClose));
    const std::u16string answer = GetContact(std::u16string(contactPrefix) + file);
    // Most address books write UTF-8; the user's other programs show such a contact as UTF-8 too.
    m_screen.showMessage(utf8::decodeOrWindows1252(answer), MessageStyle::Details, {});
}
