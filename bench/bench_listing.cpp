// ListContacts over 1,000 contacts of the local server, beside the floor: the same 1,001 exchanges
// (one PROPFIND, one GET per contact) made with bare libcurl in the same process, one after another
// and six at a time.

#include "bench/CurlFloor.h"
#include "bench/SeededServer.h"
#include "contacts/ContactClient.h"
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

}  // namespace

BENCHMARK(ListContactsOf1000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BareCurlFloorOf1000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BareCurlSixAtATimeOf1000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_MAIN();
