// ListContacts over 1,000 contacts of the local server, beside the floor: the same 1,001 exchanges
// (one PROPFIND, one GET per contact) made with bare libcurl in the same process, one after another
// and six at a time. Then 100,000 contacts from the fast server (bench/ContactServer.h), with this
// process's peak resident memory during the listing and its resident memory after it. And the
// CPU a contact costs this process over TLS beside plain HTTP: 1,000 contacts from the fast server
// both ways, with bare libcurl six at a time beside them.

#include "bench/BenchTrust.h"
#include "bench/ContactServer.h"
#include "bench/CurlFloor.h"
#include "bench/SeededServer.h"
#include "contacts/ContactClient.h"
#include "net/modWININET.h"
#include "tests/support/ProcessMemory.h"
#include "tests/support/ScreenRecorder.h"
#include "tests/support/TestAuthority.h"

#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

void ListContactsOf1000(benchmark::State& state) {
    HttpMailServer& server = seededServer();
    for (auto _ : state) {
        ScreenRecorder screen;
        ContactClient(screen, {u"127.0.0.1", server.port(), u"Basic ZGVtbzpkZW1v"}).ListContacts();
        if (screen.lines.size() != static_cast<std::size_t>(contactCount)) {
            state.SkipWithError("not every contact was listed");
        }
    }
}

void BareCurlFloorOf1000(benchmark::State& state) {
    HttpMailServer& server = seededServer();
    const std::string base = "http://127.0.0.1:" + std::to_string(server.port()) + "/vqhttpmail/2/3/4/Contacts";
    for (auto _ : state) {
        if (curlListing(base, contactCount, 1) != contactCount + 1) {
            state.SkipWithError("not every contact was fetched");
        }
    }
}

// The same exchanges six at a time, as ListContacts fetches its contacts.
void BareCurlSixAtATimeOf1000(benchmark::State& state) {
    HttpMailServer& server = seededServer();
    const std::string base = "http://127.0.0.1:" + std::to_string(server.port()) + "/vqhttpmail/2/3/4/Contacts";
    for (auto _ : state) {
        if (curlListing(base, contactCount, 6) != contactCount + 1) {
            state.SkipWithError("not every contact was fetched");
        }
    }
}

// Keeps the lines, as a window's list does, and only counts the rest: a recorder's 100,000
// progress captions would weigh as much as the listing itself.
struct ListScreen : ScreenRecorder {
    std::size_t captionCount = 0;
    void setCaption(const std::u16string&) override { ++captionCount; }
};

constexpr int kLargeFolder = 100'000;
const ContactServer* largeServer = nullptr;  // made in main, before any thread, as it forks

void ListContactsOf100000(benchmark::State& state) {
    const std::int32_t port = largeServer->port();
    for (auto _ : state) {
        resetPeakMemory();
        {
            ListScreen screen;
            ContactClient(screen, {u"127.0.0.1", port, u"Basic ZGVtbzpkZW1v"}).ListContacts();
            if (screen.lines.size() != std::size_t(kLargeFolder)) {
                state.SkipWithError("not every contact was listed");
            }
            // What a window keeps is the lines, so resident memory is read while they are held.
            const ResidentMemory memory = residentMemory();
            state.counters["peak_MB"] = double(memory.peakKb) / 1024.0;
            state.counters["after_MB"] = double(memory.rssKb) / 1024.0;
        }
    }
}

void BareCurlFloorOf100000(benchmark::State& state) {
    const std::string base = "http://127.0.0.1:" + std::to_string(largeServer->port()) + "/vqhttpmail/2/3/4/Contacts";
    for (auto _ : state) {
        if (curlListing(base, kLargeFolder, 1) != kLargeFolder + 1) {
            state.SkipWithError("not every contact was fetched");
        }
    }
}

std::filesystem::path trusted;                    // the system's authorities and the benchmark's
const modWININET::Transport* trusting = nullptr;  // trusting them, made in main

double processCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

std::map<std::string, double> cpuPerContact;  // by benchmark name, for the summary

// The process's CPU over every thread (the fetching ones too), per contact listed.
void keepCpuPerContact(benchmark::State& state, const std::string& name, double cpuMs, int contacts) {
    const double perContact = cpuMs / double(state.iterations()) / contacts;
    state.counters["cpu_ms_per_contact"] = perContact;
    cpuPerContact[name] = perContact;
}

void ListContactsFast(benchmark::State& state, const ContactServer* server, std::string name) {
    const std::u16string text = server->secure() ? u"https://127.0.0.1" : u"127.0.0.1";
    double cpuMs = 0;
    for (auto _ : state) {
        const double start = processCpuMs();
        ScreenRecorder screen;
        ContactClient(screen, {text, server->port(), u"Basic ZGVtbzpkZW1v"}, *trusting).ListContacts();
        cpuMs += processCpuMs() - start;
        if (screen.lines.size() != std::size_t(server->contacts())) {
            state.SkipWithError("not every contact was listed");
        }
    }
    keepCpuPerContact(state, name, cpuMs, server->contacts());
}

void BareCurlSixAtATimeFast(benchmark::State& state, const ContactServer* server, std::string name) {
    const std::string base = std::string(server->secure() ? "https" : "http") +
                             "://127.0.0.1:" + std::to_string(server->port()) + "/vqhttpmail/2/3/4/Contacts";
    double cpuMs = 0;
    for (auto _ : state) {
        const double start = processCpuMs();
        if (curlListing(base, server->contacts(), 6, trusted.string()) != server->contacts() + 1) {
            state.SkipWithError("not every contact was fetched");
        }
        cpuMs += processCpuMs() - start;
    }
    keepCpuPerContact(state, name, cpuMs, server->contacts());
}

void registerTlsBeside(const ContactServer& plain, const ContactServer& secure) {
    for (const ContactServer* server : {&plain, &secure}) {
        const std::string how = server->secure() ? "tls" : "plain";
        using Run = void (*)(benchmark::State&, const ContactServer*, std::string);
        for (const auto& [name, run] :
             {std::pair<std::string, Run>{"ListContactsFast1000/" + how, ListContactsFast},
              std::pair<std::string, Run>{"BareCurlSixAtATimeFast1000/" + how, BareCurlSixAtATimeFast}}) {
            benchmark::RegisterBenchmark(name.c_str(), run, server, name)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(5)
                ->UseRealTime();
        }
    }
}

void printCpuSummary() {
    std::printf("\nCPU of this process per contact on loopback, TLS beside plain HTTP (ms):\n");
    for (const char* who : {"ListContactsFast1000", "BareCurlSixAtATimeFast1000"}) {
        const double plain = cpuPerContact[std::string(who) + "/plain"];
        const double tls = cpuPerContact[std::string(who) + "/tls"];
        std::printf("  %-28s plain %6.3f  tls %6.3f  tls - plain %6.3f\n", who, plain, tls, tls - plain);
    }
}

}  // namespace

BENCHMARK(ListContactsOf1000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BareCurlFloorOf1000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BareCurlSixAtATimeOf1000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ListContactsOf100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BareCurlFloorOf100000)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    const TestAuthority authority;
    trusted = systemAndBenchAuthorities(authority);
    const ContactServer large(kLargeFolder);
    largeServer = &large;
    const ContactServer plain(contactCount);
    const ContactServer secure(contactCount, {}, authority.issue("bench", {}));
    const modWININET::Transport transport({}, trusted);
    trusting = &transport;
    benchmark::Initialize(&argc, argv);
    registerTlsBeside(plain, secure);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printCpuSummary();
    return 0;
}
