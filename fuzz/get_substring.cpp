// GetSubString on any source and markers, against the plain model: the text between the first
// start marker and the next end marker after it, or empty.
#include "contacts/GetSubString.h"
#include "fuzz/FuzzInput.h"

namespace {

std::u16string model(const std::u16string& source, const std::u16string& start,
                     const std::u16string& end) {
    const std::size_t startAt = source.find(start);
    if (startAt == std::u16string::npos) return {};
    const std::size_t from = startAt + start.size();
    const std::size_t endAt = source.find(end, from);
    if (endAt == std::u16string::npos) return {};
    return source.substr(from, endAt - from);
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
