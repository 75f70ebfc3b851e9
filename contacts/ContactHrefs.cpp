#include "contacts/ContactHrefs.h"

#include "codec/Utf8.h"

#include <pugixml.hpp>

#include <utility>

namespace {

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

// The tree is built in the UTF-8 text itself (its bytes are overwritten), so no second copy is held.
std::vector<std::u16string> hrefsOfUtf8(std::string& bytes) {
    pugi::xml_document document;
    // Default flags skip a DOCTYPE without reading it; pugixml never loads external entities.
    // Embedded PCDATA spares a node per text: a fifth of the tree of a multistatus answer.
    const pugi::xml_parse_result parsed = document.load_buffer_inplace(
        bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_embed_pcdata, pugi::encoding_utf8);
    if (!parsed) {
        return {};  // pugixml keeps what it read before the fault; a broken answer lists nothing
    }
    std::vector<std::u16string> hrefs;
    for (const pugi::xpath_node& selected : document.select_nodes("//D:response/D:href")) {
        std::string text;
        appendText(selected.node(), text);
        hrefs.push_back(utf8::decode(text));  // pugixml gives well-formed UTF-8
    }
    return hrefs;
}

}  // namespace

// A folder of 10,000 contacts answers with megabytes: the answer goes before the tree is built.
std::vector<std::u16string> contactHrefs(std::u16string answer) {
    std::string bytes = utf8::encode(answer);
    std::u16string().swap(answer);
    return hrefsOfUtf8(bytes);
}

std::vector<std::u16string> contactHrefs(std::string answer) {
    std::string bytes = utf8::encodeWindows1252(answer);
    std::string().swap(answer);
    return hrefsOfUtf8(bytes);
}
