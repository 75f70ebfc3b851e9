// vqcontacts: the contact folder of a Velqor mail server from a shell (see vqcontacts.1).

#include "cli/Run.h"

#include <csignal>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // A reader that goes away (vqcontacts list | head) makes a failed write with a message and
    // exit status 1, not a silent death by SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    return runVqcontacts(std::vector<std::string>(argv + 1, argv + argc), VQ_VERSION);
}
