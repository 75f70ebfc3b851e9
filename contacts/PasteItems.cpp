#include "contacts/PasteItems.h"

#include "codec/AsciiText.h"

namespace {

bool holdsCardStart(std::string_view text) {
    constexpr std::string_view kBegin = "BEGIN:VCARD";
    for (std::size_t at = text.find_first_of("Bb"); at != std::string_view::npos;
         at = text.find_first_of("Bb", at + 1)) {
        if (ascii::startsWithNoCase(text.substr(at), kBegin)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<std::vector<DropItem>> pasteItems(const PasteFormats& formats) {
    if (std::optional<std::vector<DropItem>> items = dropItems(formats.drop)) {
        return items;
    }
    if (formats.plainText && holdsCardStart(*formats.plainText)) {
        return std::vector<DropItem>{{{}, *formats.plainText}};
    }
    return std::nullopt;
}
