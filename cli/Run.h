#pragma once
// A whole run of vqcontacts: arguments in, exit status out (ExitStatus.h).

#include "contacts/HttpExchange.h"

#include <string>
#include <vector>

// Reads the arguments, gathers the login, runs the command, every exchange through http. Usage
// errors and local errors are told on standard error with exit status 1; --help and --version
// print to standard output. Never throws.
int runVqcontacts(const std::vector<std::string>& arguments, const std::string& version,
                  const HttpExchange& http = modWININET::exchange);
