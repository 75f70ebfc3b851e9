#pragma once
// The content lines of vCard bytes (vCard 2.1, 3.0 and 4.0), as a reader of any of them sees them.
// Lines end in CR LF or a bare LF. A line that starts with a space or a tab continues the one
// before it: the line end and that one character go (unfolding). A quoted-printable value that
// ends in "=" continues on the next line: the "=" and the line end go (a soft line break).
// Nothing here fails; the reader holds no more than one content line at a time.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One content line split into its parts, as views into the line.
struct ContentLine {
    std::string_view name;                 // the property name, any group prefix ("item1.") removed
    std::vector<std::string_view> params;  // each parameter as written: "CHARSET=UTF-8", "QUOTED-PRINTABLE"
    std::string_view value;                // everything after the colon that ends the parameters
};

// The parts of line: name, then parameters after ";" each, then ":" and the value. A ";" or ":"
// inside double quotes belongs to the parameter value. nullopt for a line without a colon.
std::optional<ContentLine> parseContentLine(std::string_view line);

struct Parameter {
    std::string_view key;    // empty for a bare 2.1 parameter ("QUOTED-PRINTABLE")
    std::string_view value;  // without surrounding double quotes; the bare word itself
};
// One parameter as written, split at its first "=".
Parameter splitParameter(std::string_view param);

// True when the line's parameters ask for quoted-printable (ENCODING=QUOTED-PRINTABLE, or the
// bare 2.1 form), in any letter case.
bool isQuotedPrintable(const ContentLine& line);

// Where a card begins and ends, for every reader of cards: a content line that is "BEGIN:VCARD"
// or "END:VCARD" in any letter case, blanks or CRs after it allowed. A group, a parameter or a blank in
// front makes it no marker. Cards nest (a vCard 2.1 AGENT): an END closes the latest open BEGIN.
enum class CardMarker { None, Begin, End };
CardMarker cardMarker(std::string_view line);

// What each content line does to the cards, by the one rule every reader of cards follows. A
// BEGIN marker outside a card begins one; the END that closes it ends it. Inside a card, a BEGIN
// right after an AGENT property with an empty value, or an AGENT property whose value is
// "BEGIN:VCARD" (any case), begins vCard 2.1's nested card, which stays part of the outer one
// until its own END. Any other BEGIN inside a card cuts that card short: it ends, without its END,
// before the line, and a new card begins at the line.
enum class CardStep {
    None,       // neither begins nor ends a card (an END outside any card included)
    Begin,      // a card begins at this line
    Cut,        // the open card ends before this line, unclosed, and a new one begins at it
    Nested,     // a nested card begins inside the open one
    NestedEnd,  // a nested card ends; the outer one goes on
    End,        // the open card ends with this line
};

class CardTracker {
public:
    // Feed every content line in order, as VCardLineReader gives them.
    CardStep next(std::string_view line);
    // 0 outside a card, 1 in a card's own lines, more inside a nested card.
    int depth() const { return m_depth; }

private:
    int m_depth = 0;
    bool m_afterEmptyAgent = false;  // the line before was "AGENT:" with nothing after the colon
};

// Reads one content line after another out of bytes, which it only views: they must outlive it.
class VCardLineReader {
public:
    explicit VCardLineReader(std::string_view bytes) : m_rest(bytes) {}

    // The next unfolded content line into line (empty lines included); false at the end.
    bool next(std::string& line);
    // How many bytes the lines read so far took, their line ends included.
    std::size_t consumed() const { return m_size - m_rest.size(); }

private:
    std::string_view takePhysicalLine();

    std::string_view m_rest;
    std::size_t m_size = m_rest.size();
};
