// HttpRequest's GET of bodies of three sizes from a loopback server in this process, beside a bare
// libcurl transfer of the same URL into a callback that drops the bytes: the floor that no
// routine over libcurl can beat. peak_MiB is the resident peak during the measured loop.
// `bench_net --benchmark_filter=32` runs the largest size alone.

#include "codec/CodePage.h"
#include "net/modWININET.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ProcessMemory.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <map>
#include <memory>
#include <string>

namespace {

// One server per body size, kept for the whole run, answering every GET with the same bytes.
const nettest::LoopbackServer& serverFor(std::size_t size) {
    static std::map<std::size_t, std::unique_ptr<nettest::LoopbackServer>> servers;
    auto& server = servers[size];
    if (!server) {
        std::string reply = "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n";
        for (std::size_t i = 0; i < size; ++i) {
            reply += nettest::LoopbackServer::streamedByte(i);
        }
        server = std::make_unique<nettest::LoopbackServer>(nettest::Script{true, std::move(reply)});
    }
    return *server;
}

double peakMiB() {
    return double(residentMemory().peakKb) / 1024.0;
}

size_t discard(char*, size_t size, size_t count, void*) {
    return size * count;
}

void BM_HttpRequestGet(benchmark::State& state) {
    const auto size = std::size_t(state.range(0));
    const auto& server = serverFor(size);
    resetPeakMemory();
    for (auto _ : state) {
        const std::u16string body = modWININET::HttpRequest(u"127.0.0.1", server.port(), u"GET", u"x", u"", u"");
        if (body.size() != size) {
            state.SkipWithError("short body");
            break;
        }
        benchmark::DoNotOptimize(body.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * size));
    state.counters["peak_MiB"] = peakMiB();
}

void BM_BareCurlFloor(benchmark::State& state) {
    const auto size = std::size_t(state.range(0));
    const std::string url = "http://127.0.0.1:" + std::to_string(serverFor(size).port()) + "/x";
    resetPeakMemory();
    for (auto _ : state) {
        CURL* handle = curl_easy_init();
        curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
        curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
        curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, discard);
        const CURLcode result = curl_easy_perform(handle);
        curl_easy_cleanup(handle);
        if (result != CURLE_OK) {
            state.SkipWithError(curl_easy_strerror(result));
            break;
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * size));
    state.counters["peak_MiB"] = peakMiB();
}

// The conversion HttpRequest cannot skip: floor plus this is what a GET of that size must cost.
void BM_Windows1252Conversion(benchmark::State& state) {
    const std::string bytes(std::size_t(state.range(0)), 'a');
    for (auto _ : state) {
        const std::u16string text = codepage::fromWindows1252(bytes);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * bytes.size()));
}

}  // namespace

BENCHMARK(BM_Windows1252Conversion)->Arg(1 << 10)->Arg(1 << 20)->Arg(32 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareCurlFloor)->Arg(1 << 10)->Arg(1 << 20)->Arg(32 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HttpRequestGet)->Arg(1 << 10)->Arg(1 << 20)->Arg(32 << 20)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
