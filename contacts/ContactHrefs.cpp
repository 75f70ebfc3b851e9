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

// UTF-8 for pugixml to parse in place, decoded as pugixml itself decodes UTF-16: a surrogate
// without its partner is dropped.
std::string toUtf8(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t point = text[i];
        if (point >= 0xD800 && point < 0xE000) {
            const bool paired = point < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
            if (!paired) {
                continue;
            }
            point = 0x10000 + ((point - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        if (point < 0x80) {
            out += static_cast<char>(point);
        } else if (point < 0x800) {
            out += static_cast<char>(0xC0 | (point >> 6));
            out += static_cast<char>(0x80 | (point & 0x3F));
        } else if (point < 0x10000) {
            out += static_cast<char>(0xE0 | (point >> 12));
            out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (point & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (point >> 18));
            out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (point & 0x3F));
        }
    }
    return out;
}

// All text below the element, CDATA included, as a DOM's text content gives it. An element's own
// value is its first PCDATA, kept in the element (parse_embed_pcdata) rather than in a node.
void appendText(const pugi::xml_node& node, std::string& out) {
    out += node.value();
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            out += child.value();
        } else if (child.type() == pugi::node_element) {
            appendText(child, out);
        }
    }
}

}  // namespace

std::vector<std::u16string> contactHrefs(std::u16string answer) {
    // A folder of 10,000 contacts answers with megabytes: the UTF-16 text goes before the tree is
    // built, and the tree is built in the UTF-8 text itself, so only one copy is ever held.
    std::string utf8 = toUtf8(answer);
    std::u16string().swap(answer);
    pugi::xml_document document;
    // Default flags skip a DOCTYPE without reading it; pugixml never loads external entities.
    // Embedded PCDATA spares a node per text: a fifth of the tree of a multistatus answer.
    const pugi::xml_parse_result parsed = document.load_buffer_inplace(
        utf8.data(), utf8.size(), pugi::parse_default | pugi::parse_embed_pcdata, pugi::encoding_utf8);
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
