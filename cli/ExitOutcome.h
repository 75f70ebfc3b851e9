#pragma once
// From an outcome (contacts/Outcome.h) to what vqcontacts says on standard error and the exit
// status it ends with (ExitStatus.h). The messages are the window's (contacts/WindowOutcome.h).

#include "contacts/ContactFolder.h"
#include "contacts/Outcome.h"

#include <string>

// The exit status of an outcome, by one switch.
int exitStatusOf(Outcome outcome);

// The reason an answer failed, in plain words: libcurl's reason or "the server answered 404".
std::string failureText(const modWININET::HttpResult& answer);

// The folder's listing failed: tells the window's message and, when the login and the secure
// connection were not refused, what actually went wrong. Answers the exit status.
int reportListing(const ContactFolder& folder, const Verdict& verdict);

// One request failed: tells the window's message for a refusal, that subject may have been stored
// for a write that got no answer, else subject and what went wrong. Answers the exit status.
int reportRequest(const ContactFolder& folder, const Verdict& verdict, const std::string& subject);
