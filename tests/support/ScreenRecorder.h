#pragma once
// A ContactScreen that keeps everything the logic did to the window (for tests, fuzz targets and
// benchmarks alike), and an HttpFunction that keeps every request and answers from a script.

#include "contacts/ContactScreen.h"
#include "tests/support/InBandExchange.h"

#include <functional>
#include <string>
#include <vector>

struct Message {
    std::u16string prompt;
    MessageStyle style;
    std::u16string title;
    bool operator==(const Message&) const = default;
};

struct ScreenRecorder : ContactScreen {
    std::vector<std::u16string> captions;
    std::vector<std::u16string> lines;
    std::vector<Message> messages;
    std::u16string selected;
    int clears = 0;
    int shows = 0;

    void setCaption(const std::u16string& text) override { captions.push_back(text); }
    void appendContact(const std::u16string& line, const std::u16string& file) override {
        static_cast<void>(file);  // the line names it too
        lines.push_back(line);
    }
    void clearList() override {
        lines.clear();
        ++clears;
    }
    std::u16string selectedLine() const override { return selected; }
    void showWindow() override { ++shows; }
    void showMessage(const std::u16string& prompt, MessageStyle style, const std::u16string& title) override {
        messages.push_back({prompt, style, title});
    }
};

struct Request {
    std::u16string verb, target, body, headers;
};

struct HttpRecorder {
    std::vector<Request> requests;
    std::function<std::u16string(const Request&)> reply = [](const Request&) {
        return std::u16string();
    };

    HttpFunction function() {
        return [this](std::u16string server, std::int32_t port, std::u16string verb, std::u16string target,
                      std::u16string body, std::u16string headers) {
            (void)server;
            (void)port;
            requests.push_back({verb, target, body, headers});
            return reply(requests.back());
        };
    }
};
