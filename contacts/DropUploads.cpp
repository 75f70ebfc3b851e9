#include "contacts/DropUploads.h"

#include "contacts/VCardCards.h"

std::vector<std::string_view> dropUploads(std::string_view bytes) {
    std::vector<std::string_view> cards = vcardCards(bytes);
    // A card cut short (no END:VCARD) still goes up as it is: the server may take it, and a backup
    // restored must not lose its last contact without a word.
    if (cards.empty()) {
        if (bytes.find("VCARD") != std::string_view::npos) {
            cards.push_back(bytes);
        }
        return cards;
    }
    const std::size_t end = std::size_t(cards.back().data() + cards.back().size() - bytes.data());
    if (const std::string_view rest = bytes.substr(end); rest.find("BEGIN:VCARD") != std::string_view::npos) {
        cards.push_back(rest);
    }
    return cards;
}

bool isCutCard(std::string_view upload) {
    return vcardCards(upload).empty();
}
