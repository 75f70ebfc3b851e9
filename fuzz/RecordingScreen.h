#pragma once
// A window for the fuzz targets: keeps the lines and messages, never blocks.
#include "contacts/ContactScreen.h"

#include <string>
#include <vector>

struct RecordingScreen : ContactScreen {
    void setCaption(const std::u16string& text) override { caption = text; }
    void appendLine(const std::u16string& line) override { lines.push_back(line); }
    void clearList() override { lines.clear(); }
    std::u16string selectedLine() const override { return selected; }
    void showWindow() override {}
    void showMessage(const std::u16string& prompt, MessageStyle, const std::u16string&) override {
        messages.push_back(prompt);
    }
    void endProgram() override { ended = true; }

    std::u16string caption;
    std::u16string selected;
    std::vector<std::u16string> lines;
    std::vector<std::u16string> messages;
    bool ended = false;
};
