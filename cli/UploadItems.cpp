#include "cli/UploadItems.h"

#include "cli/Console.h"
#include "cli/LocalError.h"
#include "contacts/ItemFile.h"

#include <unistd.h>
#include <cerrno>

namespace {

std::string standardInput() {
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw LocalError("cannot read standard input");
        }
        if (got == 0) {
            return bytes;
        }
        if (bytes.size() + static_cast<std::size_t>(got) > maxItemBytes) {
            throw LocalError("standard input holds more than 64 MiB; nothing was uploaded");
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
}

}  // namespace

std::vector<UploadItem> readUploadItems(const std::vector<std::string>& arguments) {
    std::vector<UploadItem> items;
    for (const std::string& argument : arguments) {
        if (argument == "-") {
            items.push_back({"standard input", standardInput()});
            continue;
        }
        std::optional<std::string> bytes = readItemFile(argument);
        if (!bytes) {
            throw LocalError("cannot read " + inQuotes(argument) +
                             " (not a readable file of at most 64 MiB); nothing was uploaded");
        }
        items.push_back({inQuotes(argument), std::move(*bytes)});
    }
    return items;
}
