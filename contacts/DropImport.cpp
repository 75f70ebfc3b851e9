// The drop import half of ContactClient: every card of a dropped item, whole or cut short, goes up
// on its own; an item without one goes up whole when it holds "VCARD" in any case.

#include "contacts/ContactClient.h"

#include "contacts/ContactTexts.h"
#include "contacts/DropUploads.h"
#include "contacts/ItemFile.h"

#include "codec/AsciiText.h"

#include <exception>
#include <string>

// Anything that cannot be read is empty, which holds no card and no "VCARD".
std::string ContactClient::itemBytes(const DropItem& item) const {
    if (item.payload) {
        return *item.payload;
    }
    try {
        return readItemFile(item.file).value_or(std::string());
    } catch (const std::exception&) {  // out of memory for a large file: this item only fails
        return {};
    }
}

ListingResult ContactClient::Form_OLEDragDrop(const std::optional<std::vector<DropItem>>& items) {
    using namespace contacttext;
    const std::u16string title(messageTitle);
    if (!items) {
        m_screen.showMessage(std::u16string(invalidDrop), MessageStyle::Information, title);
        return ListingResult::Listed;
    }
    // Every item is read before the notice, so it can count what will go up: each card of an
    // export, and one for each item that goes up whole or is rejected.
    std::vector<std::string> contents;
    contents.reserve(items->size());
    std::vector<std::vector<std::string_view>> uploads;
    std::size_t count = 0;
    for (const DropItem& item : *items) {
        uploads.push_back(dropUploads(contents.emplace_back(itemBytes(item))));
        count += std::max<std::size_t>(uploads.back().size(), 1);
    }
    m_screen.showMessage(std::u16string(noticeStart) + ascii::decimal(count) + std::u16string(noticeEnd),
                         MessageStyle::Information, title);
    for (const std::vector<std::string_view>& bodies : uploads) {
        if (bodies.empty()) {
            m_screen.showMessage(std::u16string(notVcard), MessageStyle::Information, title);
        }
        for (const std::string_view body : bodies) {
            m_folder.post(std::string(body));  // the file's bytes, exactly
        }
    }
    m_screen.clearList();
    return ListContacts();
}
