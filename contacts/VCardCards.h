#pragma once
// Finds the cards in a file that may hold a whole exported address book, and says whether bytes
// are a vCard at all: the one rule for drop, paste, import and upload.

#include <string_view>
#include <vector>

// One card as a view into the bytes it was found in.
struct CardSpan {
    std::string_view bytes;
    bool cut = false;  // its END:VCARD never came
};

// The cards of bytes, in file order, by the rule of CardTracker (VCardLines.h) over unfolded
// content lines. A whole card runs from its BEGIN line to the END line that closes it, that line's
// end (CR LF or LF) included; a card nested inside it (a vCard 2.1 AGENT) is part of it. A card cut
// short runs from its BEGIN line to the line where the next card begins, or to the end of bytes.
// What lies outside the cards is in none of them. Never fails.
std::vector<CardSpan> vcardCards(std::string_view bytes);

// Whether bytes count as a vCard: they hold "VCARD" in any letter case, as the card markers are
// read in any case.
bool isVcardText(std::string_view bytes);
