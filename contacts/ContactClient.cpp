#include "contacts/ContactClient.h"

#include "contacts/ContactTexts.h"
#include "contacts/DisplayLine.h"
#include "contacts/FolderListing.h"
#include "contacts/VCardName.h"

#include "codec/AsciiText.h"
#include "codec/CodePage.h"
#include "codec/Utf8.h"

#include <string>
#include <utility>

ContactClient::ContactClient(ContactScreen& screen, LoginState login, HttpExchange http, Pause pause)
    : m_screen(screen), m_folder(std::move(login), std::move(http), std::move(pause)) {}

ListingResult ContactClient::ListContacts() {
    using namespace contacttext;
    const FolderListing listing = listFolder(m_folder);
    if (listing.verdict.outcome != Outcome::Done) {
        return showOutcome(m_screen, m_folder.login(), listing.verdict);
    }
    const std::vector<std::string>& files = listing.files;
    m_screen.showWindow();
    const std::u16string ofTotal = std::u16string(progressOf) + ascii::decimal(files.size());
    const Verdict fetched = fetchFolder(m_folder, files, [&](std::size_t i, modWININET::HttpResult&& card) {
        m_screen.setCaption(std::u16string(progressStart) + ascii::decimal(i + 1) + ofTotal);
        m_screen.appendContact(displayLine(vcardName(cardBytes(card)), files[i]), codepage::fromWindows1252(files[i]));
    });
    m_screen.setCaption(std::u16string(listedCaption));
    return showOutcome(m_screen, m_folder.login(), fetched);
}

std::u16string ContactClient::GetContact(const std::u16string& ContactURL) const {
    return modWININET::inBandText(m_folder.getPath(ContactURL));
}

void ContactClient::PostContact(const std::u16string& sData) const {
    m_folder.post(codepage::windows1252Bytes(sData));
}

modWININET::HttpResult ContactClient::fetchContact(std::string_view file) const {
    return m_folder.get(file);
}

std::u16string detailsText(const modWININET::HttpResult& answer) {
    // Most address books write UTF-8; the user's other programs show such a contact as UTF-8 too.
    return answer.succeeded() ? utf8::decodeOrWindows1252(std::string_view(answer.body))
                              : modWININET::inBandText(answer);
}

void ContactClient::List1_DblClick() {
    m_screen.showMessage(detailsText(fetchContact(codepage::windows1252Bytes(m_screen.selectedFile()))),
                         MessageStyle::Details, {});
}
