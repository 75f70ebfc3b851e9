#include "contacts/DropUploads.h"

#include "contacts/VCardCards.h"

std::vector<std::string_view> dropUploads(std::string_view bytes) {
    std::vector<std::string_view> cards = vcardCards(bytes);
    // A card cut short (no END:VCARD) still goes up whole: the server may take it.
    if (cards.empty() && bytes.find("VCARD") != std::string_view::npos) {
        cards.push_back(bytes);
    }
    return cards;
}
