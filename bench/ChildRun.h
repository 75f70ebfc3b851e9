#pragma once
// Runs a built program as a shell would, for benchmarks that time it with its start-up.

#include <string>
#include <vector>

struct ChildRun {
    int status = -1;  // the exit status; -1 when it could not start or ended by a signal
    long peakKb = 0;  // its resident peak (VmHWM, from wait4)
    double seconds = 0;
};

// arguments[0] is the program's path. environment replaces this process's; standard output goes
// to /dev/null, standard error stays.
ChildRun runChild(std::vector<std::string> arguments, std::vector<std::string> environment);
