#pragma once
// What the contact logic needs of the main window. frmMain implements it; tests use a recorder.
// The logic calls it from the thread that runs the operation, never from the threads that fetch.

#include <string>

enum class MessageStyle {
    Plain,        // OK button, no icon
    Information,  // OK button and the information icon
    Details,      // OK button, no icon; the text scrolls inside a box that fits the screen and can
                  // be selected and copied
};

struct ContactScreen {
    virtual ~ContactScreen() = default;

    // Shows at once or within a screen frame; the window is painted whole when the operation ends.
    virtual void setCaption(const std::u16string& text) = 0;
    virtual void appendLine(const std::u16string& line) = 0;
    virtual void clearList() = 0;
    virtual std::u16string selectedLine() const = 0;  // empty when no line is selected
    virtual void showWindow() = 0;
    // Modal: returns when the user has dismissed the box. An empty title means the application's.
    virtual void showMessage(const std::u16string& prompt, MessageStyle style, const std::u16string& title) = 0;
};
