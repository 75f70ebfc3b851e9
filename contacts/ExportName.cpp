#include "contacts/ExportName.h"

#include "codec/Utf8.h"
#include "contacts/PercentDecoded.h"

#include <algorithm>

bool isPlainFileName(std::string_view name) {
    // A leading dot covers "." and "..", and keeps a server from planting a hidden start-up file
    // (".profile") in a folder such as the home folder.
    if (name.empty() || name.front() == '.') {
        return false;
    }
    const bool slashOrC0 = std::any_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte == '/' || byte < 0x20 || byte == 0x7F;
    });
    if (slashOrC0) {
        return false;
    }
    // A C1 control (U+0080..U+009F) would reach a terminal as one when the name is listed.
    const std::u16string text = utf8::decodeOrWindows1252(name);
    return std::none_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x80 && c <= 0x9F; });
}

std::optional<std::string> exportFileName(std::string_view file) {
    if (std::optional<std::string> decoded = percentDecoded(file); decoded && isPlainFileName(*decoded)) {
        return decoded;
    }
    if (isPlainFileName(file)) {
        return std::string(file);
    }
    return std::nullopt;
}
