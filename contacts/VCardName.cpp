#include "contacts/VCardName.h"

#include "codec/AsciiText.h"
#include "codec/CodePage.h"
#include "codec/Utf8.h"
#include "contacts/VCardLines.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

// "=C3=BC" becomes its bytes; an "=" not followed by two hex digits stays as written.
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

// The value as text: quoted-printable undone, then read in its charset.
std::u16string valueText(const ContentLine& line) {
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

// The components of a structured value, split at every ";" that no backslash escapes; escapes
// stay for unescaped() to undo.
std::vector<std::u16string_view> components(std::u16string_view text) {
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

enum class ListCommas { Keep, AsSpaces };

// Escapes undone, line breaks and control characters as spaces, blanks at the ends trimmed.
std::u16string unescaped(std::u16string_view text, ListCommas commas) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'\\' && i + 1 < text.size()) {
            const char16_t escaped = text[i + 1];
            if (escaped == u'\\' || escaped == u',' || escaped == u';' || escaped == u'n' || escaped == u'N') {
                c = (escaped == u'n' || escaped == u'N') ? u' ' : escaped;
                ++i;
            }
        } else if (c == u',' && commas == ListCommas::AsSpaces) {
            c = u' ';
        }
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            c = u' ';
        }
        out.push_back(c);
    }
    return std::u16string(ascii::trimmed(out, u" "));
}

// N is family;given;additional;prefixes;suffixes, and a person reads it prefix first.
std::u16string nameFromN(std::u16string_view text) {
    const std::vector<std::u16string_view> parts = components(text);
    std::u16string name;
    for (const std::size_t index : std::array<std::size_t, 5>{3, 1, 2, 0, 4}) {
        if (index >= parts.size()) {
            continue;
        }
        const std::u16string part = unescaped(parts[index], ListCommas::AsSpaces);
        if (part.empty()) {
            continue;
        }
        if (!name.empty()) {
            name.push_back(u' ');
        }
        name += part;
    }
    return name;
}

}  // namespace

std::u16string vcardName(std::string_view vcard) {
    if (vcard.starts_with(utf8::byteOrderMark)) {
        vcard.remove_prefix(utf8::byteOrderMark.size());
    }
    VCardLineReader reader(vcard);
    std::string line;
    CardTracker tracker;
    std::u16string fromN;
    std::u16string fromOrg;
    while (reader.next(line)) {
        const CardStep step = tracker.next(line);
        if (step == CardStep::End || step == CardStep::Cut) {
            break;  // the first card is over
        }
        const std::optional<ContentLine> parts =
            step == CardStep::None && tracker.depth() == 1 ? parseContentLine(line) : std::nullopt;
        if (!parts) {
            continue;
        }
        if (ascii::equalsNoCase(parts->name, "FN")) {
            std::u16string name = unescaped(valueText(*parts), ListCommas::Keep);
            if (!name.empty()) {
                return name;  // FN wins: nothing after it can change the name
            }
        } else if (fromN.empty() && ascii::equalsNoCase(parts->name, "N")) {
            fromN = nameFromN(valueText(*parts));
        } else if (fromOrg.empty() && ascii::equalsNoCase(parts->name, "ORG")) {
            fromOrg = unescaped(components(valueText(*parts)).front(), ListCommas::Keep);
        }
    }
    return fromN.empty() ? fromOrg : fromN;
}

std::u16string vcardName(const std::u16string& answer) {
    return vcardName(std::string_view(codepage::windows1252Bytes(answer)));
}
