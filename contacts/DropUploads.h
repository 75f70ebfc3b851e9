#pragma once
// How one dropped item (or one file given to the command line's upload) splits into POST bodies.

#include <string_view>
#include <vector>

// The POST bodies of one item, in order, as views into bytes: each complete card (see
// VCardCards.h), then the rest after the last one as it is when it holds "BEGIN:VCARD" (a last
// card cut short); with no complete card, the whole item when it holds "VCARD" somewhere; else
// none: the item is not a vCard and is rejected.
std::vector<std::string_view> dropUploads(std::string_view bytes);

// Whether one of those bodies holds no complete card: it lacks its "END:VCARD".
bool isCutCard(std::string_view upload);
