#pragma once
// The name a person knows a contact by, read out of a vCard (2.1, 3.0 or 4.0) the way address
// books read it, for the contact's line in the list.
//
// Only the first card counts (the first BEGIN:VCARD to the END:VCARD that closes it, or to the
// BEGIN:VCARD that cuts it short: CardTracker in VCardLines.h), and only its own properties, not
// those of a card nested inside it; a text with no BEGIN:VCARD has no name.
// Lines are unfolded and quoted-printable values decoded (see VCardLines.h); names and parameters
// match in any letter case, after any group prefix. The value's bytes become text by its CHARSET
// when that names UTF-8, Windows-1252, ISO-8859-1 or US-ASCII, otherwise as UTF-8 when they are
// valid UTF-8, else as Windows-1252. A UTF-8 byte order mark in front is skipped.
//
// The name is the first non-empty FN; else N's prefix, given, additional, family and suffix names,
// the non-empty ones joined by one space; else ORG's first component; else empty. Escapes \\ \, \;
// are undone, \n and \N and every other control character become a space, and blanks at either
// end go: the name never holds a line end. Brackets are left to the display line.
//
// Never fails; time and memory grow linearly with the vCard's length.

#include <string>
#include <string_view>

std::u16string vcardName(std::string_view vcard);

// The same for a server's answer as HttpRequest gives it: the bytes read as Windows-1252, which
// gives the bytes back exactly. An "Error:" text or empty text has no card, so no name.
std::u16string vcardName(const std::u16string& answer);
