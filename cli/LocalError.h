#pragma once
// The one shape of failure inside the command line: a local problem (an unreadable file, an
// unwritable folder, no way to ask for the password) that ends the run with exit status 1. main
// prints its text; commands throw it only before or instead of any further work.

#include <stdexcept>
#include <string>

class LocalError : public std::runtime_error {
public:
    explicit LocalError(const std::string& message) : std::runtime_error(message) {}
};
