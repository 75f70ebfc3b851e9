#include "cli/ListField.h"

#include "codec/AsciiText.h"
#include "codec/Utf8.h"

namespace {

void appendHex(std::string& text, unsigned char byte) {
    text += "\\x";
    text += ascii::hexDigit(byte >> 4U);
    text += ascii::hexDigit(byte & 0x0FU);
}

bool isC1(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F;
}

}  // namespace

std::string listField(std::string_view bytes) {
    const bool utf8 = utf8::isValid(bytes);
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const auto next = static_cast<unsigned char>(i + 1 < bytes.size() ? bytes[i + 1] : 0);
        switch (byte) {
            case '\t': text += "\\t"; continue;
            case '\r': text += "\\r"; continue;
            case '\n': text += "\\n"; continue;
            case '\\': text += "\\\\"; continue;
            default: break;
        }
        if (utf8 && byte == 0xC2 && isC1(next)) {
            appendHex(text, byte);
            appendHex(text, next);
            ++i;
        } else if (byte < 0x20 || byte == 0x7F || (!utf8 && isC1(byte))) {
            appendHex(text, byte);
        } else {
            text += bytes[i];
        }
    }
    return text;
}

std::string fromListField(std::string_view field) {
    std::string bytes;
    bytes.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const std::string_view rest = field.substr(i);
        if (rest.size() >= 2 && rest[0] == '\\') {
            const char kind = rest[1];
            const char plain = kind == 't'    ? '\t'
                               : kind == 'r'  ? '\r'
                               : kind == 'n'  ? '\n'
                               : kind == '\\' ? '\\'
                                              : '\0';
            if (plain != 0) {
                bytes += plain;
                ++i;
                continue;
            }
            if (kind == 'x' && rest.size() >= 4 && ascii::isHexDigit(rest[2]) && ascii::isHexDigit(rest[3])) {
                bytes += static_cast<char>(ascii::hexValue(rest[2]) * 16 + ascii::hexValue(rest[3]));
                i += 3;
                continue;
            }
        }
        bytes += field[i];
    }
    return bytes;
}
