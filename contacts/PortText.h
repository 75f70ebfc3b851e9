#pragma once
// The port box's rule, for the login dialog and the command line alike.

#include <cstdint>
#include <optional>
#include <string_view>

// The text, blanks (spaces and tabs) around it ignored, as a whole number that is a TCP port
// (1 to 65535); nothing for anything else: a sign, other characters, a number out of range.
std::optional<std::int32_t> parsePortText(std::string_view text);
