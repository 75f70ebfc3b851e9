#include "contacts/VCardEdit.h"

#include "codec/AsciiText.h"
#include "contacts/VCardLineWriter.h"
#include "contacts/VCardValue.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {

// Bytes that take the place of [start, end) of the card; start == end inserts.
struct Splice {
    std::size_t start = 0;
    std::size_t end = 0;
    std::string bytes;
};

class CardEditor {
public:
    CardEditor(std::string_view card, const CardLayout& layout) : m_card(card), m_layout(layout) {}

    // The line at index, or a new one at the offset insertAt (END:VCARD's line when npos), written
    // with value (escaped); an empty value removes the line.
    void put(std::optional<std::size_t> index, std::string_view name, std::u16string_view value,
             const std::optional<std::u16string>& type, std::size_t insertAt = std::string_view::npos) {
        if (index && value.empty()) {
            m_splices.push_back({m_layout.lines[*index].start, m_layout.lines[*index].end, {}});
            return;
        }
        if (value.empty()) {
            return;
        }
        const std::string_view original = index ? std::string_view(m_layout.lines[*index].text) : name;
        const std::string bytes =
            writtenLine(rewrittenHead(original, value, m_layout.version, type), value, m_layout.lineEnd);
        if (index) {
            m_splices.push_back({m_layout.lines[*index].start, m_layout.lines[*index].end, bytes});
        } else {
            const std::size_t at = insertAt == std::string_view::npos ? m_layout.endLine : insertAt;
            m_splices.push_back({at, at, bytes});
        }
    }

    void text(std::optional<std::size_t> index, std::string_view name, const std::u16string& before,
              const std::u16string& after) {
        if (before != after) {
            put(index, name, escapedText(after, m_layout.version), std::nullopt);
        }
    }

    // A structured value whose components at the indices given change; the others stay as written.
    void components(std::optional<std::size_t> index, std::string_view name,
                    const std::vector<std::pair<std::u16string, std::u16string>>& changes, std::size_t count) {
        if (std::all_of(changes.begin(), changes.end(),
                        [](const auto& change) { return change.first == change.second; })) {
            return;
        }
        const std::u16string written = index ? vcardValueText(*parseContentLine(m_layout.lines[*index].text)) : u"";
        std::vector<std::u16string> parts;
        for (const std::u16string_view part : vcardComponents(written)) {
            parts.emplace_back(part);
        }
        parts.resize(std::max(parts.size(), count));
        for (std::size_t i = 0; i < changes.size(); ++i) {
            if (changes[i].first != changes[i].second) {
                parts[i] = escapedText(changes[i].second, m_layout.version);
            }
        }
        std::u16string value;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            value += (i == 0 ? u"" : u";") + parts[i];
        }
        put(index, name, value, std::nullopt);
    }

    void typed(const std::vector<std::size_t>& indices, std::string_view name, const std::vector<TypedValue>& before,
               const std::vector<TypedValue>& after) {
        const std::size_t afterLast = indices.empty() ? m_layout.endLine : m_layout.lines[indices.back()].end;
        for (std::size_t k = 0; k < before.size(); ++k) {
            const auto edited = std::find_if(after.begin(), after.end(), [k](const TypedValue& entry) {
                return entry.origin == static_cast<int>(k);
            });
            if (edited == after.end()) {
                put(indices[k], name, u"", std::nullopt);
            } else if (!(edited->value == before[k].value && edited->type == before[k].type)) {
                const std::optional<std::u16string> type =
                    edited->type == before[k].type ? std::nullopt : std::optional(edited->type);
                put(indices[k], name, escapedText(edited->value, m_layout.version), type);
            }
        }
        for (const TypedValue& entry : after) {
            if (entry.origin < 0 || entry.origin >= static_cast<int>(before.size())) {
                put(std::nullopt, name, escapedText(entry.value, m_layout.version), entry.type, afterLast);
            }
        }
    }

    std::string result() {
        // An insertion at a line's start goes before the line that starts there.
        std::stable_sort(m_splices.begin(), m_splices.end(), [](const Splice& a, const Splice& b) {
            return a.start != b.start ? a.start < b.start : a.end < b.end;
        });
        std::string out;
        std::size_t at = 0;
        for (const Splice& splice : m_splices) {
            out.append(m_card.substr(at, splice.start - at)).append(splice.bytes);
            at = splice.end;
        }
        return out.append(m_card.substr(at));
    }

private:
    std::string_view m_card;
    const CardLayout& m_layout;
    std::vector<Splice> m_splices;
};

}  // namespace

std::optional<std::string> editedCard(std::string_view card, const ContactFields& edited) {
    const CardLayout layout = cardLayout(card);
    if (!layout.whole()) {
        return std::nullopt;
    }
    const FieldLines lines = fieldLines(layout);
    const ContactFields before = contactFields(layout, lines);
    if (before == edited) {
        return std::string(card);
    }
    CardEditor editor(card, layout);
    editor.text(lines.name, "FN", before.name, edited.name);
    editor.components(lines.n, "N", {{before.family, edited.family}, {before.given, edited.given}}, 5);
    if (edited.organisation.empty()) {
        editor.text(lines.organisation, "ORG", before.organisation, edited.organisation);  // units go with it
    } else {
        editor.components(lines.organisation, "ORG", {{before.organisation, edited.organisation}}, 1);
    }
    editor.text(lines.title, "TITLE", before.title, edited.title);
    editor.typed(lines.emails, "EMAIL", before.emails, edited.emails);
    editor.typed(lines.phones, "TEL", before.phones, edited.phones);
    editor.text(lines.note, "NOTE", before.note, edited.note);
    return editor.result();
}

ContactFields withNameParts(ContactFields fields) {
    if (fields.given.empty() && fields.family.empty()) {
        const std::u16string_view name = ascii::trimmed(fields.name);
        const std::size_t blank = name.find_last_of(u' ');
        fields.family = std::u16string(blank == std::u16string_view::npos ? name : name.substr(blank + 1));
        fields.given = std::u16string(blank == std::u16string_view::npos ? u"" : ascii::trimmed(name.substr(0, blank)));
    }
    return fields;
}

std::string newCard(const ContactFields& fields, std::string_view uid) {
    const ContactFields filled = withNameParts(fields);
    const std::string empty = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + std::string(uid) + "\r\nEND:VCARD\r\n";
    return editedCard(empty, filled).value_or(empty);
}

std::string newUid() {
    std::random_device entropy;
    std::mt19937_64 random((static_cast<std::uint64_t>(entropy()) << 32) ^ entropy());
    std::uint64_t high = random();
    std::uint64_t low = random();
    high = (high & ~0xF000ull) | 0x4000ull;                // version 4
    low = (low & ~(0xC000ull << 48)) | (0x8000ull << 48);  // the RFC 4122 variant
    std::string hex;
    for (const std::uint64_t half : {high, low}) {
        for (int shift = 60; shift >= 0; shift -= 4) {
            hex.push_back(ascii::hexDigit(static_cast<unsigned>(half >> shift)));
        }
    }
    for (const std::size_t dash : {20u, 16u, 12u, 8u}) {
        hex.insert(dash, "-");
    }
    std::transform(hex.begin(), hex.end(), hex.begin(), ascii::lower);
    return "urn:uuid:" + hex;
}
