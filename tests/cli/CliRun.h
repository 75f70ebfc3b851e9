#pragma once
// Runs the built vqcontacts as a person's shell would, and keeps what it said and how it ended.
// The child runs in a session of its own, so it has no controlling terminal: a password prompt
// can never wait for a person. It gets this process's environment without any VQCONTACTS_
// variable, plus those the call sets. A run that has not ended after 30 seconds is killed.

#include <string>
#include <vector>

struct CliCall {
    std::vector<std::string> arguments;
    std::vector<std::string> environment;  // "NAME=value" entries on top of the cleaned one
    std::string input;                     // standard input, then end of file
};

struct CliRun {
    int status = -1;  // the exit status; -1 when killed by a signal or the time limit
    std::string out;
    std::string err;
};

CliRun runCli(const CliCall& call);
