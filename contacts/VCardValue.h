#pragma once
// A content line's value as text, shared by the name reader and the card editor: quoted-printable
// undone, the bytes read by the line's CHARSET when that names UTF-8, Windows-1252, ISO-8859-1 or
// US-ASCII, otherwise as UTF-8 when they are valid UTF-8, else as Windows-1252. Escapes stay for
// the caller, whose rules differ (a name in the list holds no line break; a note keeps them).
// Nothing here fails.

#include "contacts/VCardLines.h"

#include <string>
#include <string_view>
#include <vector>

// "=C3=BC" becomes its bytes; an "=" not followed by two hex digits stays as written.
std::string quotedPrintableDecoded(std::string_view value);

// The value of line as text (see above).
std::u16string vcardValueText(const ContentLine& line);

// The components of a structured value (N, ORG), split at every ";" that no backslash escapes;
// the escapes stay. Always at least one component.
std::vector<std::u16string_view> vcardComponents(std::u16string_view text);
