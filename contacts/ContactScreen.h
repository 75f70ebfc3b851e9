#pragma once
// What the contact logic needs of the main window. frmMain implements it; tests use a recorder.
// The logic calls it from the thread that runs the operation, never from the threads that fetch.

#include "contacts/CardDigest.h"
#include "contacts/ContactTexts.h"
#include "contacts/GetSubString.h"

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
    // A contact's line with its file name, which the line ends with between fileOpen and
    // fileClose. A screen that keeps the file beside the line opens the right contact even when
    // the file name holds fileClose.
    virtual void appendContact(const std::u16string& line, const std::u16string& file) = 0;
    // A listed contact's line, with what it keeps of the card for a later delete (see
    // DeleteContacts.h). The default keeps the line and file only.
    virtual void appendListed(const std::u16string& line, const std::u16string& file, const CardFacts& facts) {
        static_cast<void>(facts);
        appendContact(line, file);
    }
    virtual void clearList() = 0;
    virtual std::u16string selectedLine() const = 0;  // empty when no line is selected
    // The file name of the selected line. The default reads it out of the line: the text between
    // the first fileOpen and the next fileClose, empty when no line is selected.
    virtual std::u16string selectedFile() const {
        return GetSubString(selectedLine(), std::u16string(contacttext::fileOpen),
                            std::u16string(contacttext::fileClose));
    }
    virtual void showWindow() = 0;
    // Modal: returns when the user has dismissed the box. An empty title means the application's.
    virtual void showMessage(const std::u16string& prompt, MessageStyle style, const std::u16string& title) = 0;
};
