// Base64 throughput beside OpenSSL's block coder (the reference) and memcpy (the ceiling).
// Our encoder also breaks lines and our decoder also skips CR LF, which OpenSSL's do not.
#include "codec/Base64.h"

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstring>
#include <random>

namespace {

std::vector<std::uint8_t> randomBytes(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    std::mt19937_64 random(size);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(random());
    }
    return bytes;
}

void setSize(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void EncodeArr(benchmark::State& state) {
    const auto input = randomBytes(static_cast<std::size_t>(state.range(0)));
    const Base64 codec;
    for (auto _ : state) {
        benchmark::DoNotOptimize(codec.EncodeArr(input));
    }
    setSize(state, input.size());
}

void DecodeArr(benchmark::State& state) {
    const auto input = randomBytes(static_cast<std::size_t>(state.range(0)));
    const Base64 codec;
    const std::u16string text = codec.EncodeArr(input);
    for (auto _ : state) {
        benchmark::DoNotOptimize(codec.DecodeArr(text));
    }
    setSize(state, input.size());
}

void OpenSslEncodeBlock(benchmark::State& state) {
    const auto input = randomBytes(static_cast<std::size_t>(state.range(0)));
    std::vector<unsigned char> out((input.size() + 2) / 3 * 4 + 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EVP_EncodeBlock(out.data(), input.data(), static_cast<int>(input.size())));
        benchmark::ClobberMemory();
    }
    setSize(state, input.size());
}

void OpenSslDecodeBlock(benchmark::State& state) {
    const auto input = randomBytes(static_cast<std::size_t>(state.range(0)));
    std::vector<unsigned char> text((input.size() + 2) / 3 * 4 + 1);
    const int length = EVP_EncodeBlock(text.data(), input.data(), static_cast<int>(input.size()));
    std::vector<unsigned char> out(text.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(EVP_DecodeBlock(out.data(), text.data(), length));
        benchmark::ClobberMemory();
    }
    setSize(state, input.size());
}

void Memcpy(benchmark::State& state) {
    const auto input = randomBytes(static_cast<std::size_t>(state.range(0)));
    std::vector<std::uint8_t> out(input.size());
    for (auto _ : state) {
        std::memcpy(out.data(), input.data(), input.size());
        benchmark::ClobberMemory();
    }
    setSize(state, input.size());
}

constexpr std::int64_t k4KiB = 4 << 10, k1MiB = 1 << 20, k64MiB = 64 << 20;

}  // namespace

BENCHMARK(EncodeArr)->Arg(k4KiB)->Arg(k1MiB)->Arg(k64MiB);
BENCHMARK(OpenSslEncodeBlock)->Arg(k4KiB)->Arg(k1MiB)->Arg(k64MiB);
BENCHMARK(DecodeArr)->Arg(k4KiB)->Arg(k1MiB)->Arg(k64MiB);
BENCHMARK(OpenSslDecodeBlock)->Arg(k4KiB)->Arg(k1MiB)->Arg(k64MiB);
BENCHMARK(Memcpy)->Arg(k4KiB)->Arg(k1MiB)->Arg(k64MiB);
BENCHMARK_MAIN();
