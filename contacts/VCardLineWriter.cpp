#include "contacts/VCardLineWriter.h"

#include "codec/AsciiText.h"
#include "codec/Utf8.h"
#include "contacts/ContactFields.h"
#include "contacts/VCardLines.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::size_t kLineOctets = 75;

bool isAscii(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

std::string typeParameter(std::u16string_view type, VCardVersion version) {
    const std::string words = utf8::encode(type);
    if (version != VCardVersion::V21) {
        return "TYPE=" + words;
    }
    std::string bare;  // 2.1 names types as bare words: TEL;WORK;VOICE
    for (const char c : words) {
        bare.push_back(c == ',' ? ';' : static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
    }
    return bare;
}

bool isTypeParameter(std::string_view param) {
    const Parameter parameter = splitParameter(param);
    if (ascii::equalsNoCase(parameter.key, "TYPE")) {
        return true;
    }
    ContentLine alone;
    alone.params.push_back(param);
    return parameter.key.empty() && !typeText(alone).empty();
}

// "=XX" for every byte that is not printable ASCII, for "=" and for a blank at the end.
std::string quotedPrintable(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\n') {
            out += "=0D=0A";
        } else if ((byte > 32 && byte < 127 && byte != '=') || (byte == ' ' && i + 1 < bytes.size())) {
            out.push_back(static_cast<char>(byte));
        } else {
            out += {'=', ascii::hexDigit(byte >> 4), ascii::hexDigit(byte)};
        }
    }
    return out;
}

// Folds a line by inserting a line end and a blank, each piece at most 75 octets.
std::string folded(std::string_view line, std::string_view lineEnd) {
    std::string out;
    std::size_t room = kLineOctets;
    while (line.size() > room) {
        std::size_t cut = room;
        while (cut > 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
            --cut;  // a UTF-8 sequence stays on one line
        }
        out.append(line.substr(0, cut)).append(lineEnd).push_back(' ');
        line.remove_prefix(cut);
        room = kLineOctets - 1;
    }
    return out.append(line).append(lineEnd);
}

// Breaks an encoded value with soft line breaks, each line with its "=" at most 75 octets.
std::string softBroken(std::string_view head, std::string_view encoded, std::string_view lineEnd) {
    std::string out(head);
    std::size_t used = head.size();
    while (used + encoded.size() > kLineOctets) {
        std::size_t cut = kLineOctets - 1 > used ? kLineOctets - 1 - used : 1;
        cut = std::min(cut, encoded.size());
        for (std::size_t back = 1; back <= 2 && cut >= back; ++back) {
            if (encoded[cut - back] == '=') {
                cut -= back;  // an "=XX" stays whole
                break;
            }
        }
        if (cut == 0) {
            cut = std::min<std::size_t>(3, encoded.size());
        }
        out.append(encoded.substr(0, cut)).append("=").append(lineEnd);
        encoded.remove_prefix(cut);
        used = 0;
    }
    return out.append(encoded).append(lineEnd);
}

}  // namespace

std::u16string escapedText(std::u16string_view text, VCardVersion version) {
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        if (c == u'\r') {
            continue;  // a line break is its LF; a CR alone is none a card can hold
        }
        if (c == u';' || (version != VCardVersion::V21 && (c == u'\\' || c == u','))) {
            out.push_back(u'\\');
            out.push_back(c);
        } else if (c == u'\n' && version != VCardVersion::V21) {
            out += u"\\n";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

LineHead rewrittenHead(std::string_view original, std::u16string_view value, VCardVersion version,
                       const std::optional<std::u16string>& type) {
    const std::optional<ContentLine> parts = parseContentLine(original);
    LineHead result;
    result.head = std::string(original.substr(0, std::min(original.find_first_of(";:"), original.size())));
    bool hasCharset = false;
    bool typePlaced = false;
    const auto placeType = [&] {
        if (type && !typePlaced && !type->empty()) {
            result.head += ";" + typeParameter(*type, version);
        }
        typePlaced = true;
    };
    for (const std::string_view param : parts ? parts->params : std::vector<std::string_view>{}) {
        const Parameter parameter = splitParameter(param);
        if (type && isTypeParameter(param)) {
            placeType();
        } else if (ascii::equalsNoCase(parameter.key, "CHARSET")) {
            result.head += ";" + std::string(parameter.key) + "=UTF-8";
            hasCharset = true;
        } else {
            result.head += ";" + std::string(param);
        }
    }
    placeType();
    result.quotedPrintable = parts && isQuotedPrintable(*parts);
    if (version == VCardVersion::V21 && !hasCharset && !isAscii(value)) {
        result.head += ";CHARSET=UTF-8";
    }
    if (version == VCardVersion::V21 && !result.quotedPrintable && value.find(u'\n') != std::u16string_view::npos) {
        result.head += ";ENCODING=QUOTED-PRINTABLE";
        result.quotedPrintable = true;
    }
    return result;
}

std::string writtenLine(const LineHead& head, std::u16string_view value, std::string_view lineEnd) {
    const std::string bytes = utf8::encode(value);
    if (head.quotedPrintable) {
        return softBroken(head.head + ":", quotedPrintable(bytes), lineEnd);
    }
    return folded(head.head + ":" + bytes, lineEnd);
}
