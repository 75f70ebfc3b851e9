#pragma once
// How one dropped item (or one file given to the command line's upload) splits into POST bodies.

#include <string_view>
#include <vector>

// The POST bodies of one item, in order, as views into bytes: each of its cards, whole or cut
// short (see VCardCards.h); with no card in it, the whole item when isVcardText says it is a
// vCard; else none: the item is not a vCard and is rejected.
std::vector<std::string_view> dropUploads(std::string_view bytes);

// Whether one of those bodies holds no whole card: it lacks its "END:VCARD".
bool isCutCard(std::string_view upload);
