#include "contacts/PasteItems.h"

#include "contacts/VCardCards.h"

std::optional<std::vector<DropItem>> pasteItems(const PasteFormats& formats) {
    if (std::optional<std::vector<DropItem>> items = dropItems(formats.drop)) {
        return items;
    }
    if (formats.plainText && isVcardText(*formats.plainText)) {
        return std::vector<DropItem>{{{}, *formats.plainText}};
    }
    return std::nullopt;
}
