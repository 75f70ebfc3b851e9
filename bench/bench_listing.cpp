// ListContacts over 1,000 contacts of the local server, beside the floor: the same 1,001 exchanges
// (one PROPFIND, one GET per contact) made with bare libcurl in the same process. Then 100,000
// contacts from the fast server (bench/ContactServer.h), with this process's peak resident memory
// during the listing and its resident memory after it.

#include "bench/ContactServer.h"
#include "bench/SeededServer.h"
#include "contacts/ContactClient.h"
#include "tests/support/ProcessMemory.h"
#include "tests/support/ScreenRecorder.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <memory>

namespace {

size_t keep(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

std::string curlExchange(const std::string& url, const char* verb, const std::string& body) {
    CURL* curl = curl_easy_init();
    std::string answer;
    curl_slist* headers = curl_slist_append(nullptr, "Authorization: Basic ZGVtbzpkZW1v");
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, verb);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    if (!body.empty()) {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, keep);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
    curl_easy_perform(curl);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return answer;
}

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
        const std::string listing = curlExchange(base, "PROPFIND", "<?xml version=\"1.0\"?><D:propfind/>");
        std::size_t got = 0;
        for (int i = 0; i < contactCount; ++i) {
            got += !curlExchange(base + "/c" + std::to_string(10000 + i) + ".vcf", "GET", {}).empty();
        }
        if (got != contactCount || listing.empty()) {
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
        const std::string listing = curlExchange(base, "PROPFIND", "<?xml version=\"1.0\"?><D:propfind/>");
        std::size_t got = 0;
        for (int i = 0; i < kLargeFolder; ++i) {
            got += !curlExchange(base + "/c" + std::to_string(10000 + i) + ".vcf", "GET", {}).empty();
        }
        if (got != std::size_t(kLargeFolder) || listing.empty()) {
            state.SkipWithError("not every contact was fetched");
        }
    }
}

}  // namespace

BENCHMARK(ListContactsOf1000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BareCurlFloorOf1000)->Unit(benchmark::kMillisecond)->Iterations(5);
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
