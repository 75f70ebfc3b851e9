#include "codec/Base64.h"

#include "codec/CodePage.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kLineLength = 76;                  // characters per line
constexpr std::size_t kLineBytes = kLineLength / 4 * 3;  // input bytes per line

}  // namespace

Base64Error::Base64Error(std::int32_t number, std::string source, std::string description)
    : std::runtime_error(description),
      m_number(number),
      m_source(std::move(source)),
      m_description(std::move(description)) {}

Base64::Base64()
    // Each entry from its own character code: A-Z, a-z, 0-9, "+", "/".
    : m_encodeTable{65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77,  78,  79,  80,
                    81,  82,  83,  84,  85,  86,  87,  88,  89,  90,  97,  98,  99,  100, 101, 102,
                    103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117, 118,
                    119, 120, 121, 122, 48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  43,  47} {
    // Codes outside the alphabet stay 0, the value of "A": decoding never rejects a character.
    for (std::size_t value = 0; value < m_encodeTable.size(); ++value) {
        m_decodeTable[m_encodeTable[value]] = static_cast<std::uint8_t>(value);
    }
    // Two characters per lookup for the encoder: 12 bits at a time, as the UTF-16 units in memory.
    for (std::uint32_t index = 0; index < m_encodePairs.size(); ++index) {
        const char16_t pair[2] = {m_encodeTable[index >> 6], m_encodeTable[index & 63]};
        std::memcpy(&m_encodePairs[index], pair, sizeof pair);
    }
    // The decoder's scan copy flags the low bytes of "=" and CR, so one test per group finds
    // the units that might be skipped (a unit above U+00FF with such a low byte is checked exactly).
    m_decodeScanTable = m_decodeTable;
    m_decodeScanTable[u'='] |= kMaybeSkipped;
    m_decodeScanTable[u'\r'] |= kMaybeSkipped;
}

std::u16string Base64::Encode(const std::u16string& sInput) const {
    if (sInput.empty()) {
        return {};
    }
    return EncodeArr(codepage::toWindows1252(sInput));
}

char16_t* Base64::encodeLine(const std::uint8_t* in, std::size_t count, char16_t* out) const {
    const std::uint8_t* const table = m_encodeTable.data();
    const std::uint32_t* const pairs = m_encodePairs.data();
    const std::uint8_t* const groupsEnd = in + count / 3 * 3;
    for (; in < groupsEnd; in += 3, out += 4) {
        const std::uint32_t group = (in[0] << 16) | (in[1] << 8) | in[2];
        const std::uint32_t high = pairs[group >> 12], low = pairs[group & 0xFFF];
        std::memcpy(out, &high, sizeof high);
        std::memcpy(out + 2, &low, sizeof low);
    }
    const std::size_t rest = count % 3;
    if (rest != 0) {
        const std::uint32_t group = (in[0] << 16) | (rest == 2 ? in[1] << 8 : 0);
        out[0] = table[group >> 18];
        out[1] = table[(group >> 12) & 63];
        out[2] = rest == 2 ? table[(group >> 6) & 63] : u'=';
        out[3] = u'=';
        out += 4;
    }
    return out;
}

std::u16string Base64::EncodeArr(const std::vector<std::uint8_t>& bytInput) const {
    const std::size_t n = bytInput.size();
    const std::size_t characters = (n + 2) / 3 * 4;
    // 76 characters exactly are one line without CR LF; beyond that every full line ends in one.
    const bool broken = characters > kLineLength;
    const std::size_t lineBreaks = broken ? characters / kLineLength : 0;
    std::u16string text(characters + 2 * lineBreaks, u'\0');

    const std::uint8_t* in = bytInput.data();
    const std::uint8_t* const end = in + n;
    char16_t* out = text.data();
    while (in < end) {
        const std::size_t lineBytes = std::min<std::size_t>(kLineBytes, end - in);
        out = encodeLine(in, lineBytes, out);
        in += lineBytes;
        // A line of 55 to 57 bytes fills 76 characters, the last line too.
        if (broken && (lineBytes + 2) / 3 * 4 == kLineLength) {
            *out++ = u'\r';
            *out++ = u'\n';
        }
    }
    return text;
}

std::u16string Base64::Decode(const std::u16string& sInput) const {
    if (sInput.empty()) {
        return {};
    }
    return codepage::fromWindows1252(DecodeArr(sInput));
}

std::vector<std::uint8_t> Base64::DecodeArr(const std::u16string& sInput) const {
    const char16_t* const begin = sInput.data();
    const char16_t* const end = begin + sInput.size();

    // Room for every unit kept; CR LF and "=" only shrink what is written, trimmed at the end
    // without a second allocation.
    std::vector<std::uint8_t> bytes(sInput.size() / 4 * 3 + 2);
    std::uint8_t* out = bytes.data();
    const std::uint8_t* const table = m_decodeScanTable.data();
    std::uint32_t group = 0;
    int values = 0;
    for (const char16_t* at = begin; at < end;) {
        // The common case: whole groups of four characters none of which may be skipped.
        while (values == 0 && end - at >= 4) {
            const std::uint32_t v0 = table[at[0] & 0xFF], v1 = table[at[1] & 0xFF], v2 = table[at[2] & 0xFF],
                                v3 = table[at[3] & 0xFF];
            if ((v0 | v1 | v2 | v3) & kMaybeSkipped) {
                break;
            }
            const std::uint32_t whole = (v0 << 18) | (v1 << 12) | (v2 << 6) | v3;
            out[0] = static_cast<std::uint8_t>(whole >> 16);
            out[1] = static_cast<std::uint8_t>(whole >> 8);
            out[2] = static_cast<std::uint8_t>(whole);
            out += 3;
            at += 4;
        }
        if (at == end) {
            break;
        }
        // One unit at a time: CR LF is skipped only as a pair, "=" anywhere, nothing else.
        if (*at == u'=') {
            ++at;
            continue;
        }
        if (*at == u'\r' && at + 1 < end && at[1] == u'\n') {
            at += 2;
            continue;
        }
        group = (group << 6) | (table[*at++ & 0xFF] & 63);
        if (++values == 4) {
            out[0] = static_cast<std::uint8_t>(group >> 16);
            out[1] = static_cast<std::uint8_t>(group >> 8);
            out[2] = static_cast<std::uint8_t>(group);
            out += 3;
            group = 0;
            values = 0;
        }
    }
    if (out == bytes.data() && values == 0) {
        throw Base64Error(9, "Base64.DecodeArr",
                          "There is nothing to decode: the text is empty or holds only CR LF and \"=\".");
    }
    // Bits the last character holds beyond the last whole byte are dropped; a lone last
    // character gives no byte.
    if (values == 3) {
        out[0] = static_cast<std::uint8_t>(group >> 10);
        out[1] = static_cast<std::uint8_t>(group >> 2);
        out += 2;
    } else if (values == 2) {
        out[0] = static_cast<std::uint8_t>(group >> 4);
        out += 1;
    }
    bytes.resize(static_cast<std::size_t>(out - bytes.data()));
    return bytes;
}
