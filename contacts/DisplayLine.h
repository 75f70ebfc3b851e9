#pragma once
// A contact's line in the list, as the window and `vqcontacts list` both show it.

#include <string>
#include <string_view>

// The name with its brackets turned into parentheses, so that a line's first " [" always opens
// the file name.
std::u16string displayName(std::u16string name);

// displayName(name), " [", the file name's bytes read as Windows-1252, "]": the text that goes
// back out as the same bytes when the line is opened.
std::u16string displayLine(std::u16string name, std::string_view file);
