#include "contacts/VCardValue.h"

#include "codec/AsciiText.h"
#include "codec/CodePage.h"
#include "codec/Utf8.h"

#include <algorithm>

namespace {

// "utf-8", "UTF8" and "utf_8" all name the same charset.
std::string charsetKey(std::string_view name) {
    std::string key;
    for (const char c : name) {
        if (c != '-' && c != '_') {
            key.push_back(static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
        }
    }
    return key;
}

std::u16string textOf(std::string_view bytes, std::string_view charset) {
    const std::string key = charsetKey(charset);
    if (key == "UTF8") {
        return utf8::decode(bytes);
    }
    if (key == "WINDOWS1252" || key == "CP1252") {
        return codepage::fromWindows1252(bytes);
    }
    if (key == "ISO88591" || key == "LATIN1") {
        std::u16string text(bytes.size(), u'\0');
        std::transform(bytes.begin(), bytes.end(), text.begin(),
                       [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
        return text;  // each byte is its own code point
    }
    if (key == "USASCII" || key == "ASCII") {
        std::u16string text(bytes.size(), u'\uFFFD');
        std::transform(bytes.begin(), bytes.end(), text.begin(), [](char c) {
            return static_cast<unsigned char>(c) < 0x80 ? static_cast<char16_t>(c) : u'\uFFFD';
        });
        return text;
    }
    return utf8::decodeOrWindows1252(bytes);
}

}  // namespace

std::string quotedPrintableDecoded(std::string_view value) {
    std::string bytes;
    bytes.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '=' && i + 2 < value.size() && ascii::hexValue(value[i + 1]) >= 0 &&
            ascii::hexValue(value[i + 2]) >= 0) {
            bytes.push_back(static_cast<char>(ascii::hexValue(value[i + 1]) * 16 + ascii::hexValue(value[i + 2])));
            i += 2;
        } else {
            bytes.push_back(value[i]);
        }
    }
    return bytes;
}

std::u16string vcardValueText(const ContentLine& line) {
    std::string_view charset;
    for (const std::string_view param : line.params) {
        const Parameter parameter = splitParameter(param);
        if (ascii::equalsNoCase(parameter.key, "CHARSET")) {
            charset = parameter.value;
        }
    }
    if (isQuotedPrintable(line)) {
        return textOf(quotedPrintableDecoded(line.value), charset);
    }
    return textOf(line.value, charset);
}

std::vector<std::u16string_view> vcardComponents(std::u16string_view text) {
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\') {
            ++i;
        } else if (text[i] == u';') {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}
