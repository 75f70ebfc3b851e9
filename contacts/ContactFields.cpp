#include "contacts/ContactFields.h"

#include "codec/AsciiText.h"
#include "contacts/VCardValue.h"

#include <array>

namespace {

// 2.1 writes encodings bare too ("TEL;WORK;QUOTED-PRINTABLE:"): those are no types.
bool isEncodingWord(std::string_view word) {
    constexpr std::array<std::string_view, 5> encodings{"QUOTED-PRINTABLE", "BASE64", "B", "8BIT", "7BIT"};
    for (const std::string_view encoding : encodings) {
        if (ascii::equalsNoCase(word, encoding)) {
            return true;
        }
    }
    return false;
}

void appendTypes(std::u16string& type, std::string_view list) {
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string_view word = ascii::trimmed(list.substr(start, comma - start));
        if (!word.empty()) {
            if (!type.empty()) {
                type.push_back(u',');
            }
            for (const char c : word) {
                type.push_back(static_cast<char16_t>(static_cast<unsigned char>(ascii::lower(c))));
            }
        }
        start = comma + 1;
    }
}

std::u16string componentText(const ContentLine& line, std::size_t index, VCardVersion version) {
    const std::u16string text = vcardValueText(line);
    const std::vector<std::u16string_view> parts = vcardComponents(text);
    return index < parts.size() ? unescapedText(parts[index], version) : std::u16string();
}

}  // namespace

std::u16string unescapedText(std::u16string_view text, VCardVersion version) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const char16_t next = i + 1 < text.size() ? text[i + 1] : u'\0';
        if (c == u'\\' && (next == u';' || (version != VCardVersion::V21 && (next == u'\\' || next == u',')))) {
            out.push_back(next);
            ++i;
        } else if (c == u'\\' && version != VCardVersion::V21 && (next == u'n' || next == u'N')) {
            out.push_back(u'\n');
            ++i;
        } else if (c == u'\r') {
            out.push_back(u'\n');
            i += next == u'\n' ? 1 : 0;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::u16string typeText(const ContentLine& line) {
    std::u16string type;
    for (const std::string_view param : line.params) {
        const Parameter parameter = splitParameter(param);
        if (ascii::equalsNoCase(parameter.key, "TYPE") || (parameter.key.empty() && !isEncodingWord(parameter.value))) {
            appendTypes(type, parameter.value);
        }
    }
    return type;
}

FieldLines fieldLines(const CardLayout& layout) {
    FieldLines found;
    const auto firstOf = [](std::optional<std::size_t>& slot, std::size_t index) {
        if (!slot) {
            slot = index;
        }
    };
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        const std::optional<ContentLine> parts = parseContentLine(layout.lines[i].text);
        if (!parts) {
            continue;
        }
        const std::string_view name = parts->name;
        if (ascii::equalsNoCase(name, "FN")) {
            firstOf(found.name, i);
        } else if (ascii::equalsNoCase(name, "N")) {
            firstOf(found.n, i);
        } else if (ascii::equalsNoCase(name, "ORG")) {
            firstOf(found.organisation, i);
        } else if (ascii::equalsNoCase(name, "TITLE")) {
            firstOf(found.title, i);
        } else if (ascii::equalsNoCase(name, "NOTE")) {
            firstOf(found.note, i);
        } else if (ascii::equalsNoCase(name, "EMAIL")) {
            found.emails.push_back(i);
        } else if (ascii::equalsNoCase(name, "TEL")) {
            found.phones.push_back(i);
        }
    }
    return found;
}

ContactFields contactFields(const CardLayout& layout, const FieldLines& lines) {
    const VCardVersion version = layout.version;
    const auto partsAt = [&](std::size_t index) {
        return *parseContentLine(layout.lines[index].text);
    };
    const auto textAt = [&](const std::optional<std::size_t>& index) {
        return index ? unescapedText(vcardValueText(partsAt(*index)), version) : std::u16string();
    };
    ContactFields fields;
    fields.name = textAt(lines.name);
    fields.title = textAt(lines.title);
    fields.note = textAt(lines.note);
    if (lines.n) {
        fields.family = componentText(partsAt(*lines.n), 0, version);
        fields.given = componentText(partsAt(*lines.n), 1, version);
    }
    if (lines.organisation) {
        fields.organisation = componentText(partsAt(*lines.organisation), 0, version);
    }
    const auto typed = [&](const std::vector<std::size_t>& indices, std::vector<TypedValue>& out) {
        for (std::size_t k = 0; k < indices.size(); ++k) {
            const ContentLine parts = partsAt(indices[k]);
            out.push_back({typeText(parts), unescapedText(vcardValueText(parts), version), static_cast<int>(k)});
        }
    };
    typed(lines.emails, fields.emails);
    typed(lines.phones, fields.phones);
    return fields;
}

ContactFields contactFields(std::string_view card) {
    const CardLayout layout = cardLayout(card);
    return contactFields(layout, fieldLines(layout));
}
