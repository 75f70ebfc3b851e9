#pragma once
// The message for a secure connection the program refused, shared by the window and the command
// line, so both give a person the same reason and the same fingerprint to check.

#include "contacts/LoginState.h"
#include "net/HttpResult.h"

#include <string>

// Names the server and port as the user gave them, then the reason in plain words, and, when a
// certificate came, its SHA-256 fingerprint to compare with what the server's administrator gives.
std::u16string secureConnectionRefused(const LoginState& login, const modWININET::HttpResult& result);
