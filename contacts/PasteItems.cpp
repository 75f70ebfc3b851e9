#include "contacts/PasteItems.h"

#include "codec/AsciiText.h"

std::optional<std::vector<DropItem>> pasteItems(const PasteFormats& formats) {
    if (std::optional<std::vector<DropItem>> items = dropItems(formats.drop)) {
        return items;
    }
    if (formats.plainText && ascii::containsNoCase(*formats.plainText, "BEGIN:VCARD")) {
        return std::vector<DropItem>{{{}, *formats.plainText}};
    }
    return std::nullopt;
}
