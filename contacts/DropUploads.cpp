#include "contacts/DropUploads.h"

#include "contacts/VCardCards.h"

#include "codec/AsciiText.h"

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
    // Case-blind, as the card markers themselves are: a cut "begin:vcard" card is a card too.
    if (const std::string_view rest = bytes.substr(end); ascii::containsNoCase(rest, "BEGIN:VCARD")) {
        cards.push_back(rest);
    }
    return cards;
}

bool isCutCard(std::string_view upload) {
    return vcardCards(upload).empty();
}
