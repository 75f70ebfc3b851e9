// GetSubString on any source and markers, against a model written as the rule reads, without the
// string searches the routine itself uses: the text between the first start marker and the next end
// marker after it, or empty.
#include "contacts/GetSubString.h"
#include "fuzz/FuzzInput.h"

#include <optional>

namespace {

// The first position at or after `from` where `marker` stands in `text`, trying each in order.
std::optional<std::size_t> firstAt(const std::u16string& text, std::size_t from, const std::u16string& marker) {
    for (std::size_t at = from; at + marker.size() <= text.size(); ++at) {
        bool stands = true;
        for (std::size_t i = 0; i < marker.size() && stands; ++i) {
            stands = text[at + i] == marker[i];
        }
        if (stands) {
            return at;
        }
    }
    return std::nullopt;
}

std::u16string model(const std::u16string& source, const std::u16string& start, const std::u16string& end) {
    const std::optional<std::size_t> startAt = firstAt(source, 0, start);
    if (!startAt) {
        return {};
    }
    const std::size_t from = *startAt + start.size();
    const std::optional<std::size_t> endAt = firstAt(source, from, end);
    if (!endAt) {
        return {};
    }
    std::u16string between;
    for (std::size_t i = from; i < *endAt; ++i) {
        between += source[i];
    }
    return between;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    // Short markers, so that they occur in the source often enough to matter.
    const std::u16string start = input.takeText(input.takeByte() % 4);
    const std::u16string end = input.takeText(input.takeByte() % 4);
    const std::u16string source = input.takeText();
    FUZZ_CHECK(GetSubString(source, start, end) == model(source, start, end));
    return 0;
}
