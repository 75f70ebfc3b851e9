#pragma once
// The login state a run uses: the server and port of the command line and the Authorization
// value of the user and password, gathered from their sources.

#include "cli/CommandLine.h"
#include "contacts/LoginState.h"

// The user is --user, else VQCONTACTS_USER; the password as readPassword (Password.h) finds it.
// Arguments, the environment and files hold bytes: text that is valid UTF-8 is read as UTF-8,
// other bytes as Windows-1252, so the server gets what the login dialog would send for the same
// characters. Throws LocalError when there is no user name or no password.
LoginState loginFor(const CommandLine& line);
