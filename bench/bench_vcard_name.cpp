// The name reader over one 10 MiB vCard (a large photo, the name after it, so every line is read)
// and over 10,000 small cards, beside a plain pass over the same bytes (std::count of line feeds).

#include "contacts/VCardName.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::string bigCard() {
    std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nPHOTO;ENCODING=b;TYPE=JPEG:";
    const std::string line = "\r\n " + std::string(72, 'Q');
    while (card.size() < (std::size_t{10} << 20)) {
        card += line;
    }
    return card + "\r\nN:After;Photo;;;\r\nFN:Photo After\r\nEND:VCARD\r\n";
}

std::vector<std::string> smallCards() {
    std::vector<std::string> cards;
    for (int i = 0; i < 10000; ++i) {
        cards.push_back(
            "BEGIN:VCARD\r\nVERSION:3.0\r\nN:M\xC3\xBCller;J\xC3\xBCrgen;;;\r\nFN:J\xC3\xBCrgen M\xC3\xBCller " +
            std::to_string(i) + "\r\nEMAIL:j" + std::to_string(i) + "@example.com\r\nEND:VCARD\r\n");
    }
    return cards;
}

void NameOfOne10MiBCard(benchmark::State& state) {
    const std::string card = bigCard();
    for (auto _ : state) {
        benchmark::DoNotOptimize(vcardName(card));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * card.size()));
}

void NameOf10MiBAnswerText(benchmark::State& state) {
    const std::string card = bigCard();
    const std::u16string answer(card.begin(), card.end());  // ASCII: the text the listing gets
    for (auto _ : state) {
        benchmark::DoNotOptimize(vcardName(answer));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * card.size()));
}

void LineFeedCountFloor10MiB(benchmark::State& state) {
    const std::string card = bigCard();
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::count(card.begin(), card.end(), '\n'));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * card.size()));
}

void NamesOf10000SmallCards(benchmark::State& state) {
    const std::vector<std::string> cards = smallCards();
    for (auto _ : state) {
        for (const std::string& card : cards) {
            benchmark::DoNotOptimize(vcardName(card));
        }
    }
}

}  // namespace

BENCHMARK(NameOfOne10MiBCard)->Unit(benchmark::kMillisecond);
BENCHMARK(NameOf10MiBAnswerText)->Unit(benchmark::kMillisecond);
BENCHMARK(LineFeedCountFloor10MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(NamesOf10000SmallCards)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
