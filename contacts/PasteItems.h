#pragma once
// What a paste from the clipboard uploads. A paste is a drop that comes by the keyboard: its file
// list and its vCard data are read by dropItems, so a paste and a drop of the same data never
// disagree. Only plain text differs: a card copied out of a text editor arrives as nothing else.

#include "contacts/DropItems.h"

#include <optional>
#include <string>
#include <vector>

struct PasteFormats {
    DropFormats drop;                      // the formats a drop of the same data would carry
    std::optional<std::string> plainText;  // the UTF-8 bytes of "text/plain" when the clipboard has it
};

// The items of a paste, in this order:
//   - what dropItems answers for the drop's formats, when that is a list (possibly empty);
//   - else the plain text as one vCard item, when isVcardText (VCardCards.h) says it is one, by
//     the rule a dropped file of that text meets;
//   - else nullopt: nothing to upload ("Invalid Data Format", as a drop of it shows).
std::optional<std::vector<DropItem>> pasteItems(const PasteFormats& formats);
