#include "codec/Utf8.h"

#include "codec/CodePage.h"

#include <algorithm>

namespace utf8 {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point of the sequence at bytes[pos], moving pos past it; kReplacement (with ok cleared)
// for an ill-formed piece, pos then past that piece only. The second byte's range rules out
// overlong forms (E0, F0), surrogates (ED) and code points above U+10FFFF (F4).
char32_t next(std::string_view bytes, std::size_t& pos, bool& ok) {
    const auto lead = static_cast<unsigned char>(bytes[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    int follow = 0;
    char32_t point = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        follow = 1;
        point = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        follow = 2;
        point = lead & 0x0Fu;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        follow = 3;
        point = lead & 0x07u;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        ok = false;
        return kReplacement;
    }
    for (int i = 0; i < follow; ++i) {
        if (pos >= bytes.size()) {
            ok = false;
            return kReplacement;
        }
        const auto unit = static_cast<unsigned char>(bytes[pos]);
        if (unit < low || unit > high) {
            ok = false;
            return kReplacement;
        }
        point = (point << 6) | (unit & 0x3Fu);
        ++pos;
        low = 0x80;
        high = 0xBF;
    }
    return point;
}

void appendPoint(char32_t point, std::string& out) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

void append(char32_t point, std::u16string& text) {
    if (point < 0x10000) {
        text.push_back(static_cast<char16_t>(point));
        return;
    }
    point -= 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (point >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (point & 0x3FF)));
}

}  // namespace

bool isValid(std::string_view bytes) {
    bool ok = true;
    for (std::size_t pos = 0; pos < bytes.size() && ok;) {
        next(bytes, pos, ok);
    }
    return ok;
}

std::u16string decode(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    bool ok = true;
    for (std::size_t pos = 0; pos < bytes.size();) {
        append(next(bytes, pos, ok), text);
    }
    return text;
}

std::u16string decodeOrWindows1252(std::string_view bytes) {
    return isValid(bytes) ? decode(bytes) : codepage::fromWindows1252(bytes);
}

std::u16string decodeOrWindows1252(std::u16string_view windows1252Text) {
    // ASCII reads the same either way; a 10 MiB photo is ASCII and skips two passes over it.
    if (std::all_of(windows1252Text.begin(), windows1252Text.end(), [](char16_t unit) { return unit < 0x80; })) {
        return std::u16string(windows1252Text);
    }
    const std::string bytes = codepage::windows1252Bytes(windows1252Text);
    return isValid(bytes) ? decode(bytes) : std::u16string(windows1252Text);
}

std::string encode(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t point = text[i];
        if (point >= 0xD800 && point < 0xE000) {
            const bool paired = point < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
            if (!paired) {
                continue;
            }
            point = 0x10000 + ((point - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        appendPoint(point, out);
    }
    return out;
}

}  // namespace utf8
