#pragma once
// A contact's FILE between the program's two forms of it: ContactFolder's text (the Windows-1252
// text of the href's bytes, which goes back out byte for byte) and the bytes a shell shows and
// passes back, so that what list prints is what show and the window take.

#include "codec/CodePage.h"

#include <string>
#include <string_view>

inline std::string contactFileBytes(std::u16string_view file) {
    return codepage::windows1252Bytes(file);
}

inline std::u16string contactFileText(std::string_view bytes) {
    return codepage::fromWindows1252(bytes);
}
