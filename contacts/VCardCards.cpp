#include "contacts/VCardCards.h"

#include "contacts/VCardLines.h"

namespace {

// line is "BEGIN:VCARD" (or "END:VCARD") in any case, its line end and trailing blanks aside.
bool isMarker(std::string_view line, std::string_view marker) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' ' || line.back() == '\t')) {
        line.remove_suffix(1);
    }
    return line.size() == marker.size() + 6 && equalsNoCase(line.substr(0, marker.size()), marker) &&
           equalsNoCase(line.substr(marker.size()), ":VCARD");
}

}  // namespace

std::vector<std::string_view> vcardCards(std::string_view bytes) {
    std::vector<std::string_view> cards;
    std::size_t cardStart = 0;
    int depth = 0;
    // A byte order mark in front of the first card is no part of it.
    for (std::size_t lineStart = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0; lineStart < bytes.size();) {
        const std::size_t newline = bytes.find('\n', lineStart);
        const std::size_t lineEnd = newline == std::string_view::npos ? bytes.size() : newline + 1;
        const std::string_view line = bytes.substr(lineStart, lineEnd - lineStart);
        if (isMarker(line, "BEGIN")) {
            if (depth++ == 0) {
                cardStart = lineStart;
            }
        } else if (depth > 0 && isMarker(line, "END") && --depth == 0) {
            cards.push_back(bytes.substr(cardStart, lineEnd - cardStart));
        }
        lineStart = lineEnd;
    }
    return cards;
}
