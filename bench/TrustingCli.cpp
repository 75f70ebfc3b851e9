// vqcontacts for the benchmarks: the same command, trusting only the authority of the PEM file
// VQ_BENCH_CA_FILE names, as the benchmark's TLS server is vouched for by no system store.

#include "cli/Run.h"
#include "net/modWININET.h"

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    const char* caFile = std::getenv("VQ_BENCH_CA_FILE");
    const modWININET::Transport trusting({}, caFile ? caFile : "");
    return runVqcontacts(std::vector<std::string>(argv + 1, argv + argc), "bench", trusting);
}
