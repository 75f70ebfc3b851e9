// `vqcontacts export -` as a shell runs it (start-up included), against the fast loopback server:
// 1,000 contacts beside the floor, the same PROPFIND and 1,000 GETs made with bare libcurl on six
// threads, every card written to /dev/null as the command writes them; ratio = command / floor
// (goal 1.2 or less). And the command's resident peak (the child's VmHWM, from wait4) while it
// exports 10,000 contacts (goal 20 MB or less). Then the same 1,000 over TLS, the command (built
// to trust the system's authorities plus the benchmark's own) beside bare libcurl six at a time.

#include "bench/BenchTrust.h"
#include "bench/ChildRun.h"
#include "bench/ContactServer.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

std::filesystem::path trusted;  // the system's authorities and the benchmark's, set in main

// The built command with its standard output on /dev/null; how it ended and its resident peak.
// Over TLS it is the build that trusts the benchmark's authority.
ChildRun exportToNull(std::int32_t port, bool secure = false) {
    std::vector<std::string> arguments{secure ? VQ_TRUSTING_CLI_PATH : VQ_CLI_PATH, "--port", std::to_string(port),
                                       "export", "-"};
    if (secure) {
        arguments.insert(arguments.begin() + 1, {"--server", "https://127.0.0.1"});
    }
    return runChild(std::move(arguments),
                    {"VQCONTACTS_USER=demo", "VQCONTACTS_PASSWORD=demo", "VQ_BENCH_CA_FILE=" + trusted.string()});
}

size_t toNull(char* data, size_t size, size_t count, void* fd) {  // what the command does with a card
    return static_cast<size_t>(write(*static_cast<int*>(fd), data, size * count));
}

CURL* transfer(const std::string& url, const char* verb, curl_slist* headers, int* sink) {
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_CAINFO, trusted.c_str());
    curl_easy_setopt(curl, CURLOPT_CAPATH, nullptr);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, verb);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, toNull);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, sink);
    return curl;
}

// The floor: one PROPFIND, then every GET on six threads, each taking the next contact in turn.
// Answers the GETs that came back 200.
int bareCurlExport(std::int32_t port, int contacts, int sink, bool secure = false) {
    const std::string base =
        std::string(secure ? "https" : "http") + "://127.0.0.1:" + std::to_string(port) + "/vqhttpmail/2/3/4/Contacts";
    curl_slist* headers = curl_slist_append(nullptr, "Authorization: Basic ZGVtbzpkZW1v");
    const std::string body = "<?xml version=\"1.0\"?><D:propfind/>";
    CURL* listing = transfer(base, "PROPFIND", headers, &sink);
    curl_easy_setopt(listing, CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_perform(listing);
    curl_easy_cleanup(listing);
    std::atomic<int> next{0}, ok{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&] {
            for (int i = next++; i < contacts; i = next++) {
                CURL* curl = transfer(base + "/c" + std::to_string(10000 + i) + ".vcf", "GET", headers, &sink);
                long status = 0;
                if (curl_easy_perform(curl) == CURLE_OK) {
                    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
                }
                ok += status == 200;
                curl_easy_cleanup(curl);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    curl_slist_free_all(headers);
    return ok;
}

ContactServer& server(int contacts, bool secure = false) {
    // Forked before anything else runs: a server per size, alive for the whole program.
    static ContactServer thousand(1000);
    static ContactServer tenThousand(10000);
    static ContactServer thousandOverTls(1000, {}, testAuthority().issue("bench", {}));
    return secure ? thousandOverTls : contacts == 1000 ? thousand : tenThousand;
}

double floorSeconds = 0;
double tlsFloorSeconds = 0;

void bareCurlSixAtATime(benchmark::State& state, bool secure, double* seconds) {
    const int sink = open("/dev/null", O_WRONLY | O_CLOEXEC);
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (bareCurlExport(server(1000, secure).port(), 1000, sink, secure) != 1000) {
            state.SkipWithError("not every contact was fetched");
        }
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    *seconds = total / static_cast<double>(state.iterations());
    close(sink);
}

void exportToStdout(benchmark::State& state, bool secure, const double* floor) {
    double total = 0;
    for (auto _ : state) {
        const ChildRun run = exportToNull(server(1000, secure).port(), secure);
        if (run.status != 0) {
            state.SkipWithError("vqcontacts export - failed");
        }
        total += run.seconds;
    }
    if (*floor > 0) {
        state.counters["ratio"] = total / static_cast<double>(state.iterations()) / *floor;
    }
}

void BareCurlSixAtATime1000(benchmark::State& state) {
    bareCurlSixAtATime(state, false, &floorSeconds);
}

void VqcontactsExportToStdout1000(benchmark::State& state) {
    exportToStdout(state, false, &floorSeconds);
}

void BareCurlSixAtATimeTls1000(benchmark::State& state) {
    bareCurlSixAtATime(state, true, &tlsFloorSeconds);
}

// ratio: of bare libcurl six at a time over TLS.
void VqcontactsExportToStdoutTls1000(benchmark::State& state) {
    exportToStdout(state, true, &tlsFloorSeconds);
}

void VqcontactsPeakMemory10000(benchmark::State& state) {
    long peakKb = 0;
    for (auto _ : state) {
        const ChildRun run = exportToNull(server(10000).port());
        if (run.status != 0) {
            state.SkipWithError("vqcontacts export - failed");
        }
        peakKb = std::max(peakKb, run.peakKb);
    }
    state.counters["peak_MB"] = static_cast<double>(peakKb) * 1024.0 / 1e6;
}

}  // namespace

BENCHMARK(BareCurlSixAtATime1000)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(VqcontactsExportToStdout1000)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(BareCurlSixAtATimeTls1000)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(VqcontactsExportToStdoutTls1000)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(VqcontactsPeakMemory10000)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

int main(int argc, char** argv) {
    trusted = systemAndBenchAuthorities(testAuthority());
    server(1000);
    curl_global_init(CURL_GLOBAL_DEFAULT);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    curl_global_cleanup();
    return 0;
}
