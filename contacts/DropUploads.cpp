#include "contacts/DropUploads.h"

#include "contacts/VCardCards.h"

std::vector<std::string_view> dropUploads(std::string_view bytes) {
    std::vector<std::string_view> uploads;
    // A card cut short (no END:VCARD) still goes up, on its own: the server may take it, and a
    // backup restored must not lose a contact without a word, nor hide the card after it.
    for (const CardSpan& card : vcardCards(bytes)) {
        uploads.push_back(card.bytes);
    }
    if (uploads.empty() && isVcardText(bytes)) {
        uploads.push_back(bytes);
    }
    return uploads;
}

bool isCutCard(std::string_view upload) {
    const std::vector<CardSpan> cards = vcardCards(upload);
    return cards.empty() || cards.front().cut;
}
