#pragma once
// A contact's line in the list, as the window and `vqcontacts list` both show it.

#include <string>

// The name with its brackets turned into parentheses, so that a line's first " [" always opens
// the file name.
std::u16string displayName(std::u16string name);

// displayName(name), " [", the file name, "]".
std::u16string displayLine(std::u16string name, const std::u16string& file);
