#include "contacts/VCardCards.h"

#include "contacts/VCardLines.h"

#include "codec/Utf8.h"

#include <string>

std::vector<std::string_view> vcardCards(std::string_view bytes) {
    // A byte order mark in front of the first card is no part of it.
    const std::size_t skipped = bytes.starts_with(utf8::byteOrderMark) ? utf8::byteOrderMark.size() : 0;
    VCardLineReader reader(bytes.substr(skipped));
    std::vector<std::string_view> cards;
    std::size_t cardStart = 0;
    int depth = 0;
    std::string line;
    for (std::size_t lineStart = skipped; reader.next(line); lineStart = skipped + reader.consumed()) {
        const CardMarker marker = cardMarker(line);
        if (marker == CardMarker::Begin && depth++ == 0) {
            cardStart = lineStart;
        } else if (marker == CardMarker::End && depth > 0 && --depth == 0) {
            cards.push_back(bytes.substr(cardStart, skipped + reader.consumed() - cardStart));
        }
    }
    return cards;
}
