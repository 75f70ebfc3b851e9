#pragma once
// Where each of a card's own content lines stands in its bytes, for an editor that changes some
// lines and gives every other byte back as it came. Lines are read as VCardLines.h reads them.
//
// Only the first card counts (its BEGIN:VCARD to the END:VCARD that closes it); the lines of a card
// nested inside it (a 2.1 AGENT) and whatever lies outside it are no lines of its own, so an
// editor never touches them. Never fails: a text without a card has no lines and no end.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class VCardVersion { V21, V30, V40 };

struct CardLine {
    std::size_t start = 0;  // the offset of its first byte
    std::size_t end = 0;    // the offset just past its last line end (all its folded lines)
    std::string text;       // unfolded, without its line end and any CR left before it
};

struct CardLayout {
    std::vector<CardLine> lines;  // the card's own content lines between BEGIN and END, in order
    // Where the END:VCARD line starts; npos when the card never ends (no BEGIN, or a last line
    // swallowed by a quoted-printable soft line break).
    std::size_t endLine = std::string_view::npos;
    VCardVersion version = VCardVersion::V30;  // its VERSION line's; 3.0 without one
    std::string lineEnd = "\r\n";              // as its BEGIN line ends: CR LF, LF or CR CR LF

    bool whole() const { return endLine != std::string_view::npos; }
};

CardLayout cardLayout(std::string_view card);
