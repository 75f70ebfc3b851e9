#pragma once
// Finds the cards in a file that may hold a whole exported address book.

#include <string_view>
#include <vector>

// The complete cards of bytes, in file order, as views into bytes. A card runs from its BEGIN line
// to the END line that closes it, that line's end (CR LF or LF) included, by the same rule the
// name reader uses (cardMarker in VCardLines.h, over unfolded content lines). A card nested inside
// another (a vCard 2.1 AGENT) is part of the outer one. What lies outside the cards, and a last
// card that never ends, is in none of them. Never fails.
std::vector<std::string_view> vcardCards(std::string_view bytes);
