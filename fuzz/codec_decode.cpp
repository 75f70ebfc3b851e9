// DecodeArr and Decode on any text: no crash, and the result length follows from the count of
// characters left once CR LF pairs and "=" are removed.
#include "codec/Base64.h"
#include "fuzz/FuzzInput.h"

namespace {

std::size_t keptUnits(const std::u16string& text) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
        } else if (text[i] != u'=') {
            ++kept;
        }
    }
    return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::u16string text = input.takeText();
    const Base64 codec;
    const std::size_t kept = keptUnits(text);
    const std::size_t expected = kept / 4 * 3 + (kept % 4 == 3 ? 2 : kept % 4 == 2 ? 1 : 0);
    try {
        const std::vector<std::uint8_t> bytes = codec.DecodeArr(text);
        FUZZ_CHECK(kept > 0);
        FUZZ_CHECK(bytes.size() == expected);
        FUZZ_CHECK(codec.Decode(text).size() == expected);
    } catch (const Base64Error& error) {
        FUZZ_CHECK(kept == 0);
        FUZZ_CHECK(error.source() == "Base64.DecodeArr");
    }
    return 0;
}
