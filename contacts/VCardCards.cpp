#include "contacts/VCardCards.h"

#include "contacts/VCardLines.h"

#include "codec/AsciiText.h"
#include "codec/Utf8.h"

#include <string>

std::vector<CardSpan> vcardCards(std::string_view bytes) {
    // A byte order mark in front of the first card is no part of it.
    const std::size_t skipped = bytes.starts_with(utf8::byteOrderMark) ? utf8::byteOrderMark.size() : 0;
    VCardLineReader reader(bytes.substr(skipped));
    CardTracker tracker;
    std::vector<CardSpan> cards;
    std::size_t cardStart = 0;
    std::string line;
    for (std::size_t lineStart = skipped; reader.next(line); lineStart = skipped + reader.consumed()) {
        switch (tracker.next(line)) {
            case CardStep::Cut:
                cards.push_back({bytes.substr(cardStart, lineStart - cardStart), true});
                [[fallthrough]];
            case CardStep::Begin: cardStart = lineStart; break;
            case CardStep::End:
                cards.push_back({bytes.substr(cardStart, skipped + reader.consumed() - cardStart), false});
                break;
            case CardStep::None:
            case CardStep::Nested:
            case CardStep::NestedEnd: break;
        }
    }
    if (tracker.depth() > 0) {
        cards.push_back({bytes.substr(cardStart), true});
    }
    return cards;
}

bool isVcardText(std::string_view bytes) {
    return ascii::containsNoCase(bytes, "VCARD");
}
