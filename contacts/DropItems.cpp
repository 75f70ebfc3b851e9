#include "contacts/DropItems.h"

#include "contacts/PercentDecoded.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

std::string_view trimmed(std::string_view line) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n';
    };
    while (!line.empty() && blank(line.front())) {
        line.remove_prefix(1);
    }
    while (!line.empty() && blank(line.back())) {
        line.remove_suffix(1);
    }
    return line;
}

// The URL lines of a text/uri-list: comments ("#" first) and blank lines are not URLs.
std::vector<std::string_view> uriLines(std::string_view list) {
    std::vector<std::string_view> lines;
    while (!list.empty()) {
        const std::size_t end = std::min(list.find('\n'), list.size());
        const std::string_view line = trimmed(list.substr(0, end));
        if (!line.empty() && line.front() != '#') {
            lines.push_back(line);
        }
        list.remove_prefix(std::min(end + 1, list.size()));
    }
    return lines;
}

}  // namespace

std::optional<std::filesystem::path> localFileOf(const std::string& uri) {
    std::string_view rest(uri);
    if (!startsWithNoCase(rest, "file:")) {
        return std::nullopt;
    }
    rest.remove_prefix(5);
    if (rest.starts_with("//")) {  // an authority: only this machine's files are files of the drop
        rest.remove_prefix(2);
        const std::size_t slash = std::min(rest.find('/'), rest.size());
        const std::string_view host = rest.substr(0, slash);
        if (!host.empty() && !(host.size() == 9 && startsWithNoCase(host, "localhost"))) {
            return std::nullopt;
        }
        rest.remove_prefix(slash);
    }
    rest = rest.substr(0, std::min(rest.find_first_of("?#"), rest.size()));
    if (!rest.starts_with('/')) {
        return std::nullopt;
    }
    // A broken escape, or one that gives a NUL byte, makes the path unusable.
    const std::optional<std::string> path = percentDecoded(rest);
    if (!path || path->find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return std::filesystem::path(*path);
}

std::optional<std::vector<DropItem>> dropItems(const DropFormats& formats) {
    std::vector<DropItem> items;
    std::size_t urls = 0;
    if (formats.uriList) {
        for (const std::string_view line : uriLines(*formats.uriList)) {
            ++urls;
            if (std::optional<std::filesystem::path> file = localFileOf(std::string(line))) {
                items.push_back({std::move(*file), std::nullopt});
            }
        }
    }
    if (!items.empty()) {
        return items;
    }
    if (formats.vcardData) {
        items.push_back({{}, *formats.vcardData});
        return items;
    }
    if (formats.uriList && urls == 0) {
        return items;
    }
    return std::nullopt;
}
