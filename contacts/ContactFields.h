#pragma once
// The fields a person edits in a contact, read out of a card's bytes (2.1, 3.0 or 4.0), and the
// lines they were read from, so that an editor rewrites only the lines whose field changed.
//
// Each single field comes from the first line of its kind among the card's own lines (see
// VCardLayout.h): FN; N's given and family names; ORG's first component; TITLE; NOTE. Every EMAIL
// and TEL line gives one entry, in the card's order. Values are decoded as VCardValue.h says and
// unescaped as the card's version writes escapes: in 3.0 and 4.0 \\ \, \; and \n (a line break);
// in 2.1 only \;. A line break of any form reads as LF. A missing line reads as empty text.
// Never fails.

#include "contacts/VCardLayout.h"
#include "contacts/VCardLines.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TypedValue {
    std::u16string type;  // the TYPE values in lower case, joined by ","; "work", "work,voice"
    std::u16string value;
    int origin = -1;  // the index among the card's lines of its kind it was read from; -1: added

    bool operator==(const TypedValue&) const = default;
};

struct ContactFields {
    std::u16string name;  // FN
    std::u16string given;
    std::u16string family;
    std::u16string organisation;
    std::u16string title;
    std::u16string note;
    std::vector<TypedValue> emails;
    std::vector<TypedValue> phones;

    bool operator==(const ContactFields&) const = default;
};

// The index in CardLayout::lines each field was read from.
struct FieldLines {
    std::optional<std::size_t> name, n, organisation, title, note;
    std::vector<std::size_t> emails, phones;
};

FieldLines fieldLines(const CardLayout& layout);
ContactFields contactFields(const CardLayout& layout, const FieldLines& lines);
ContactFields contactFields(std::string_view card);

// The text of an escaped value (or one component of it) as the card's version writes escapes.
std::u16string unescapedText(std::u16string_view text, VCardVersion version);
// The TYPE of a line as TypedValue holds it: TYPE parameters, and 2.1's bare type words.
std::u16string typeText(const ContentLine& line);
