#include "contacts/VCardLayout.h"

#include "codec/AsciiText.h"
#include "contacts/VCardLines.h"

#include <optional>

namespace {

VCardVersion versionOf(std::string_view value) {
    value = ascii::trimmed(value);
    if (value == "2.1") {
        return VCardVersion::V21;
    }
    return value == "4.0" ? VCardVersion::V40 : VCardVersion::V30;
}

// The CRs and LF a physical line ends with; CR LF when it has none.
std::string lineEndOf(std::string_view raw) {
    const std::size_t last = raw.find_last_not_of("\r\n");
    const std::string_view end = raw.substr(last == std::string_view::npos ? 0 : last + 1);
    return end.ends_with('\n') ? std::string(end) : std::string("\r\n");
}

}  // namespace

CardLayout cardLayout(std::string_view card) {
    CardLayout layout;
    VCardLineReader reader(card);
    std::string line;
    int depth = 0;
    bool versionSeen = false;
    for (std::size_t start = 0; reader.next(line); start = reader.consumed()) {
        const CardMarker marker = cardMarker(line);
        if (marker == CardMarker::Begin) {
            if (depth++ == 0) {
                layout.lineEnd = lineEndOf(card.substr(start, reader.consumed() - start));
            }
            continue;
        }
        if (marker == CardMarker::End && depth > 0) {
            if (--depth == 0) {
                layout.endLine = start;
                return layout;
            }
            continue;
        }
        if (depth != 1) {
            continue;
        }
        line.erase(line.find_last_not_of('\r') + 1);
        const std::optional<ContentLine> parts = parseContentLine(line);
        if (!versionSeen && parts && ascii::equalsNoCase(parts->name, "VERSION")) {
            layout.version = versionOf(parts->value);
            versionSeen = true;
        }
        layout.lines.push_back({start, reader.consumed(), line});
    }
    return layout;
}
