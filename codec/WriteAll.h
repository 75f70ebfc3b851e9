#pragma once
// Writing a whole buffer to a descriptor, through short writes and signals.

#include <string_view>

// True when every byte went out; false on the first error, with errno telling which (ENOSPC for a
// descriptor that took nothing).
bool writeAll(int fd, std::string_view bytes);
