#include "contacts/GetSubString.h"

std::u16string GetSubString(const std::u16string& SourceString, const std::u16string& StartString,
                            const std::u16string& EndString) {
    // An empty source holds no marker, not even an empty one.
    if (SourceString.empty()) {
        return {};
    }
    const std::size_t start = SourceString.find(StartString);
    if (start == std::u16string::npos) {
        return {};
    }
    const std::size_t from = start + StartString.size();
    const std::size_t end = SourceString.find(EndString, from);
    if (end == std::u16string::npos) {
        return {};
    }
    return SourceString.substr(from, end - from);
}
