#include "contacts/DisplayLine.h"

#include "contacts/ContactTexts.h"

#include "codec/CodePage.h"

#include <algorithm>

std::u16string displayName(std::u16string name) {
    std::replace(name.begin(), name.end(), contacttext::fileOpen.front(), u'(');
    std::replace(name.begin(), name.end(), contacttext::fileClose.front(), u')');
    return name;
}

std::u16string displayLine(std::u16string name, std::string_view file) {
    using namespace contacttext;
    return displayName(std::move(name)) + u' ' + std::u16string(fileOpen) + codepage::fromWindows1252(file) +
           std::u16string(fileClose);
}
