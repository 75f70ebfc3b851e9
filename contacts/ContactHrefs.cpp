#include "contacts/ContactHrefs.h"

#include <pugixml.hpp>

namespace {

// pugixml keeps text as UTF-8; as_wide gives code points (wchar_t is 32 bits here).
std::u16string toUtf16(const std::string& utf8) {
    const std::wstring wide = pugi::as_wide(utf8.c_str());
    std::u16string text;
    text.reserve(wide.size());
    for (const wchar_t c : wide) {
        const auto point = static_cast<char32_t>(c);
        if (point >= 0x10000) {
            text.push_back(static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(point));
        }
    }
    return text;
}

// All text below the element, CDATA included, as a DOM's text content gives it.
void appendText(const pugi::xml_node& node, std::string& out) {
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            out += child.value();
        } else if (child.type() == pugi::node_element) {
            appendText(child, out);
        }
    }
}

}  // namespace

std::vector<std::u16string> contactHrefs(const std::u16string& answer) {
    pugi::xml_document document;
    // Default flags skip a DOCTYPE without reading it; pugixml never loads external entities.
    const pugi::xml_parse_result parsed =
        document.load_buffer(answer.data(), answer.size() * sizeof(char16_t), pugi::parse_default,
                             pugi::encoding_utf16);
    if (!parsed) {
        return {};  // pugixml keeps what it read before the fault; a broken answer lists nothing
    }
    std::vector<std::u16string> hrefs;
    for (const pugi::xpath_node& selected : document.select_nodes("//D:response/D:href")) {
        std::string text;
        appendText(selected.node(), text);
        hrefs.push_back(toUtf16(text));
    }
    return hrefs;
}
