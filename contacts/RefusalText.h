#pragma once
// The messages for a server that refused or left the program, shared by the window and the command
// line, so both give a person the same reason and the same fingerprint to check.

#include "contacts/LoginState.h"
#include "contacts/Outcome.h"
#include "net/HttpResult.h"

#include <cstddef>
#include <string>

// Names the server and port as the user gave them, then the reason in plain words, and, when a
// certificate came, its SHA-256 fingerprint to compare with what the server's administrator gives.
std::u16string secureConnectionRefused(const LoginState& login, const modWININET::HttpResult& result);

// A listing that stopped because the server stopped serving: the server and port, what it did
// (the verdict's cause), and how many of how many contacts were listed. The caller adds what a
// person can do next.
std::u16string serverStoppedAnswering(const LoginState& login, const Verdict& stopped);
