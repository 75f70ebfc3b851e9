#include "contacts/VCardName.h"

#include "codec/AsciiText.h"
#include "codec/CodePage.h"
#include "codec/Utf8.h"
#include "contacts/VCardLines.h"
#include "contacts/VCardValue.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

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
    const std::vector<std::u16string_view> parts = vcardComponents(text);
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
            std::u16string name = unescaped(vcardValueText(*parts), ListCommas::Keep);
            if (!name.empty()) {
                return name;  // FN wins: nothing after it can change the name
            }
        } else if (fromN.empty() && ascii::equalsNoCase(parts->name, "N")) {
            fromN = nameFromN(vcardValueText(*parts));
        } else if (fromOrg.empty() && ascii::equalsNoCase(parts->name, "ORG")) {
            fromOrg = unescaped(vcardComponents(vcardValueText(*parts)).front(), ListCommas::Keep);
        }
    }
    return fromN.empty() ? fromOrg : fromN;
}

std::u16string vcardName(const std::u16string& answer) {
    return vcardName(std::string_view(codepage::windows1252Bytes(answer)));
}
