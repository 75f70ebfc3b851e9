#include "contacts/ContactClient.h"

#include "contacts/ContactTexts.h"
#include "contacts/DisplayLine.h"
#include "contacts/OrderedFetch.h"
#include "contacts/RefusalText.h"
#include "contacts/VCardName.h"

#include "codec/AsciiText.h"
#include "codec/CodePage.h"
#include "codec/Utf8.h"

#include <string>
#include <utility>

ContactClient::ContactClient(ContactScreen& screen, LoginState login, HttpExchange http, std::size_t fetchWidth)
    : m_screen(screen), m_folder(std::move(login), std::move(http)), m_fetchWidth(fetchWidth) {}

ListingResult ContactClient::ListContacts() {
    using namespace contacttext;
    modWININET::HttpResult answer = m_folder.propfind();
    switch (classifyFolderAnswer(answer)) {
        case FolderAnswer::Unauthorized:
            m_screen.showMessage(std::u16string(authenticationError), MessageStyle::Plain, {});
            return ListingResult::Rejected;
        case FolderAnswer::Forbidden:
            m_screen.showMessage(std::u16string(forbiddenError), MessageStyle::Plain, {});
            return ListingResult::Rejected;
        case FolderAnswer::SecureConnectionRefused:
            // The user can correct the server text: this is a login to ask for again, not the end.
            m_screen.showMessage(secureConnectionRefused(m_folder.login(), answer), MessageStyle::Information,
                                 std::u16string(messageTitle));
            return ListingResult::Rejected;
        case FolderAnswer::NoContactFolder:
            m_screen.showMessage(std::u16string(noContactFolder), MessageStyle::Plain, {});
            return ListingResult::ProgramEnded;
        case FolderAnswer::Listing: break;
    }
    const std::vector<std::u16string> files = contactFiles(std::move(answer));
    m_screen.showWindow();
    const std::u16string ofTotal = std::u16string(progressOf) + ascii::decimal(files.size());
    std::size_t listed = 0;
    std::optional<modWININET::HttpResult> refused;
    const FetchEnd end = fetchInOrder(
        files.size(), [&](std::size_t i) { return m_folder.getOnce(files[i]); },
        [&](std::size_t i, modWININET::HttpResult&& card) {
            if (card.failure == modWININET::Failure::Certificate) {
                refused = std::move(card);  // the server now shows a certificate that fails: no more from it
                return false;
            }
            m_screen.setCaption(std::u16string(progressStart) + ascii::decimal(i + 1) + ofTotal);
            m_screen.appendContact(displayLine(vcardName(cardBytes(card)), files[i]), files[i]);
            listed = i + 1;
            return true;
        },
        m_fetchWidth);
    m_screen.setCaption(std::u16string(listedCaption));
    if (refused) {
        // The lines so far stay: they came from the server as it was verified.
        m_screen.showMessage(secureConnectionRefused(m_folder.login(), *refused), MessageStyle::Information,
                             std::u16string(messageTitle));
        return ListingResult::Rejected;
    }
    if (end == FetchEnd::ServerStopped) {
        // The lines so far stay: they are what the server gave before it went quiet.
        m_screen.showMessage(serverStoppedAnswering(m_folder.login(), listed, files.size()) + u" Refresh tries again.",
                             MessageStyle::Information, std::u16string(messageTitle));
    }
    return ListingResult::Listed;
}

std::u16string ContactClient::GetContact(const std::u16string& ContactURL) const {
    return modWININET::inBandText(m_folder.getPath(ContactURL));
}

void ContactClient::PostContact(const std::u16string& sData) const {
    m_folder.post(codepage::windows1252Bytes(sData));
}

modWININET::HttpResult ContactClient::fetchContact(std::u16string_view file) const {
    return m_folder.get(file);
}

std::u16string detailsText(const modWININET::HttpResult& answer) {
    // Most address books write UTF-8; the user's other programs show such a contact as UTF-8 too.
    return answer.succeeded() ? utf8::decodeOrWindows1252(std::string_view(answer.body))
                              : modWININET::inBandText(answer);
}

void ContactClient::List1_DblClick() {
    m_screen.showMessage(detailsText(fetchContact(m_screen.selectedFile())), MessageStyle::Details, {});
}
