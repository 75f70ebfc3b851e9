// ListContacts over 1,000 contacts of the local server, beside the floor: the same 1,001 exchanges
// (one PROPFIND, one GET per contact) made with bare libcurl in the same process, one after another
// and six at a time. Then 100,000 contacts from the fast server (bench/ContactServer.h), with this
// process's peak resident memory during the listing and its resident memory after it.

#include "bench/ContactServer.h"
#include "bench/CurlFloor.h"
#include "bench/SeededServer.h"
#include "contacts/ContactClient.h"
#include "tests/support/ProcessMemory.h"
#include "tests/support/ScreenRecorder.h"

#include <benchmark/benchmark.h>

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

}  // namespace

BENCHMARK(ListContactsOf1000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BareCurlFloorOf1000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BareCurlSixAtATimeOf1000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ListContactsOf100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BareCurlFloorOf100000)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    const ContactServer large(kLargeFolder);
    largeServer = &large;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
