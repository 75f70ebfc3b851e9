#pragma once
// Runs the built vqcontacts as a person's shell would, and keeps what it said and how it ended.
// The child runs in a session of its own, so it has no controlling terminal: a password prompt
// can never wait for a person. It gets this process's environment without any VQCONTACTS_
// variable, plus those the call sets. A run that has not ended after 30 seconds is killed.

#include <string>
#include <vector>

struct CliRun {
    int status = -1;  // the exit status; -1 when killed by a signal or the time limit
    std::string out;
    std::string err;
};

enum class ErrorStream {
    Pipe,      // standard error is a pipe, as in a script or a log
    Terminal,  // standard error is a pseudo-terminal (still not the controlling one)
};

// environment: "NAME=value" entries on top of the cleaned one; input: standard input, then its end.
CliRun runCli(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
              const std::string& input = {}, ErrorStream errorStream = ErrorStream::Pipe);

// The environment that logs in as the test server's default user.
inline const std::vector<std::string> demoLogin{"VQCONTACTS_USER=demo", "VQCONTACTS_PASSWORD=demo"};

// "--port" and port, then the command's arguments: the server 127.0.0.1 is the default.
std::vector<std::string> atPort(int port, const std::vector<std::string>& command);
