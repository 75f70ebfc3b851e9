// DecodeArr(EncodeArr(x)) == x, with every line of the encoded text at most 76 characters and
// only alphabet characters, "=", CR and LF in it.
#include "codec/Base64.h"
#include "fuzz/FuzzInput.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    const Base64 codec;
    const std::u16string text = codec.EncodeArr(bytes);
    if (bytes.empty()) {
        FUZZ_CHECK(text.empty());
        return 0;
    }
    std::size_t lineLength = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit == u'\r') {
            FUZZ_CHECK(i + 1 < text.size() && text[i + 1] == u'\n');
            FUZZ_CHECK(lineLength == 76);
            lineLength = 0;
            ++i;
            continue;
        }
        constexpr std::u16string_view alphabet = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
        FUZZ_CHECK(alphabet.find(unit) != std::u16string_view::npos);
        ++lineLength;
        FUZZ_CHECK(lineLength <= 76);
    }
    FUZZ_CHECK(codec.DecodeArr(text) == bytes);
    return 0;
}
