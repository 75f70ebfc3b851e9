#pragma once
// A window that shows nothing and counts the lines: ListContacts' own cost, without any drawing.

#include "contacts/ContactScreen.h"

#include <cstddef>

struct NoScreen : ContactScreen {
    std::size_t lines = 0;
    void setCaption(const std::u16string&) override {}
    void appendLine(const std::u16string&) override { ++lines; }
    void clearList() override {}
    std::u16string selectedLine() const override { return {}; }
    void showWindow() override {}
    void showMessage(const std::u16string&, MessageStyle, const std::u16string&) override {}
    void endProgram() override {}
};
