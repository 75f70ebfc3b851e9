// The drop import's turning of a drop's data into items: URL lists with odd escapes, file: URLs
// with hosts, vCard payloads. The first byte picks which formats the drop carries; the rest is
// split at the first NUL into the URL list and the vCard data.
#include "contacts/DropItems.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::uint8_t which = input.takeByte();
    const std::string rest = input.takeBytes();
    const std::size_t cut = std::min(rest.find('\0'), rest.size());
    DropFormats formats;
    if (which & 1) {
        formats.uriList = rest.substr(0, cut);
    }
    if (which & 2) {
        formats.vcardData = rest.substr(std::min(cut + 1, rest.size()));
    }

    const std::optional<std::vector<DropItem>> items = dropItems(formats);
    if (!formats.uriList && !formats.vcardData) {
        FUZZ_CHECK(!items);
        return 0;
    }
    if (!items) {
        return 0;
    }
    for (const DropItem& item : *items) {
        if (item.payload) {
            FUZZ_CHECK(item.file.empty());
            FUZZ_CHECK(formats.vcardData && *item.payload == *formats.vcardData);
        } else {
            FUZZ_CHECK(item.file.is_absolute());
            FUZZ_CHECK(item.file.native().find('\0') == std::string::npos);
        }
    }
    return 0;
}
