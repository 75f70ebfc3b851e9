#pragma once
// Where the password comes from. Never from an argument: arguments show in the process list.

#include <filesystem>
#include <optional>
#include <string>

// The password, in this order of sources:
//   - the first line of passwordFile (its end of line, LF or CR LF, left out), when one is given;
//     any readable file will do, a pipe such as <(pass show mail) too;
//   - else environmentValue (VQCONTACTS_PASSWORD) when it is set;
//   - else a line typed at the controlling terminal (/dev/tty) after prompt, without echo, the
//     terminal's settings restored afterwards, also when a signal ends the program meanwhile.
// Throws LocalError when the file cannot be read, when there is no terminal to ask on, or when the
// password it got is empty (the login dialog refuses an empty password too).
std::string readPassword(const std::optional<std::filesystem::path>& passwordFile, const char* environmentValue,
                         const std::string& prompt);

// The first line of a file, read up to a bound; nullopt when it cannot be opened or read.
std::optional<std::string> firstLineOf(const std::filesystem::path& file);
