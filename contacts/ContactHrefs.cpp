#include "contacts/ContactHrefs.h"

#include "codec/CodePage.h"
#include "codec/Utf8.h"

#include <expat.h>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

// The name expat is told the answer's bytes are in; it asks onUnknownEncoding for the table.
constexpr const char* kWindows1252 = "windows-1252";
// No server writes an href this long; a longer one is dropped as it passes, so memory stays small.
constexpr std::size_t kLongestHref = std::size_t{8} * 1024;

// The parser's own state, shared by its callbacks. Hrefs are collected as UTF-8, the parser's
// output, in document order: an href starts its slot when it opens. Text goes to the innermost
// open href only: were it added to every open one, as a DOM's text content has it, hrefs nested
// thousands deep would cost the square of the answer's size.
struct HrefReader {
    std::vector<bool> openIsResponse;     // one entry per open element: is it a D:response?
    std::vector<std::size_t> collecting;  // the depth of each open href, innermost last
    std::vector<std::size_t> slots;       // its slot in hrefs
    std::vector<std::string> hrefs;
    std::vector<bool> tooLong;  // per slot: passed kLongestHref, so it names no contact
};

void XMLCALL onStart(void* user, const XML_Char* name, const XML_Char**) {
    auto& reader = *static_cast<HrefReader*>(user);
    const std::string_view element(name);
    if (element == "D:href" && !reader.openIsResponse.empty() && reader.openIsResponse.back()) {
        reader.collecting.push_back(reader.openIsResponse.size());
        reader.slots.push_back(reader.hrefs.size());
        reader.hrefs.emplace_back();
        reader.tooLong.push_back(false);
    }
    reader.openIsResponse.push_back(element == "D:response");
}

void XMLCALL onEnd(void* user, const XML_Char*) {
    auto& reader = *static_cast<HrefReader*>(user);
    reader.openIsResponse.pop_back();
    if (!reader.collecting.empty() && reader.collecting.back() == reader.openIsResponse.size()) {
        reader.collecting.pop_back();
        reader.slots.pop_back();
    }
}

// Text and CDATA alike, with character and predefined entity references already resolved.
void XMLCALL onText(void* user, const XML_Char* text, int length) {
    auto& reader = *static_cast<HrefReader*>(user);
    if (reader.slots.empty() || reader.tooLong[reader.slots.back()]) {
        return;
    }
    std::string& href = reader.hrefs[reader.slots.back()];
    if (std::size_t(length) > kLongestHref - href.size()) {
        std::string().swap(href);
        reader.tooLong[reader.slots.back()] = true;
        return;
    }
    href.append(text, std::size_t(length));
}

// What no other handler takes. Inside an href that is only a reference to an entity that XML does
// not predefine: it stays as written, "&name;", whether a DTD declares it or not, so no entity is
// ever expanded and none is an error.
void XMLCALL onUnexpanded(void* user, const XML_Char* text, int length) {
    if (length > 0 && text[0] == '&') {
        onText(user, text, length);
    }
}

// Windows-1252 is one byte per character: each byte's code point, the undefined five included.
int XMLCALL onUnknownEncoding(void*, const XML_Char* name, XML_Encoding* info) {
    if (std::string_view(name) != kWindows1252) {
        return XML_STATUS_ERROR;
    }
    for (int byte = 0; byte < 256; ++byte) {
        const char single = char(byte);
        info->map[byte] = int(codepage::fromWindows1252(std::string_view(&single, 1)).front());
    }
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

// Reads the hrefs, as UTF-8, while the bytes stream through the parser: nothing but the hrefs is
// kept, where a tree of a big folder's answer would take more than the answer itself.
std::vector<std::string> utf8HrefsOf(std::string_view bytes, const char* encoding) {
    const std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreate(encoding));
    if (!parser) {
        return {};
    }
    HrefReader reader;
    XML_SetUserData(parser.get(), &reader);
    XML_SetElementHandler(parser.get(), onStart, onEnd);
    XML_SetCharacterDataHandler(parser.get(), onText);
    // The plain default handler turns the expansion of declared entities off; a foreign DTD makes
    // expat pass an undeclared one on as well instead of failing on it.
    XML_SetDefaultHandler(parser.get(), onUnexpanded);
    XML_UseForeignDTD(parser.get(), XML_TRUE);
    XML_SetUnknownEncodingHandler(parser.get(), onUnknownEncoding, nullptr);
    constexpr std::size_t kChunk = std::size_t{1} << 20;  // XML_Parse takes an int length
    do {
        const std::size_t length = std::min(bytes.size(), kChunk);
        const bool last = length == bytes.size();
        if (XML_Parse(parser.get(), bytes.data(), int(length), last ? XML_TRUE : XML_FALSE) != XML_STATUS_OK) {
            return {};  // a broken answer lists nothing, not the part before the fault
        }
        bytes.remove_prefix(length);
    } while (!bytes.empty());
    std::vector<std::string> hrefs;
    for (std::size_t slot = 0; slot < reader.hrefs.size(); ++slot) {
        if (!reader.tooLong[slot]) {
            hrefs.push_back(std::move(reader.hrefs[slot]));
        }
    }
    return hrefs;
}

}  // namespace

// The answer goes before the hrefs are turned back into bytes: a big folder's answer runs to megabytes.
std::vector<std::string> contactHrefs(std::string answer) {
    std::vector<std::string> hrefs = utf8HrefsOf(answer, kWindows1252);
    std::string().swap(answer);
    for (std::string& href : hrefs) {
        href = codepage::windows1252Bytes(utf8::decode(href));  // expat gives well-formed UTF-8
    }
    return hrefs;
}
