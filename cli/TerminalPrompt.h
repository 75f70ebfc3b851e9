#pragma once
// Asks for a secret at the controlling terminal.

#include <optional>
#include <string>

// Writes prompt to /dev/tty, reads one line there with echo off and gives it without its line end.
// The terminal's settings come back afterwards, and also when SIGINT, SIGTERM, SIGHUP or SIGQUIT
// ends the program while it waits. nullopt when the process has no controlling terminal (the
// answer comes from the terminal, never from standard input, so a pipe into the program can
// never be taken for the password) or the line cannot be read.
std::optional<std::string> promptWithoutEcho(const std::string& prompt);

// The same with the answer shown as it is typed: for a question, not a secret.
std::optional<std::string> promptLine(const std::string& prompt);
