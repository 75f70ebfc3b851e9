#pragma once
// A contact folder in memory, as the window's HttpExchange: the PROPFIND lists each file as its
// href's last segment exactly as given (a "]" stays a "]", which a real server would escape), and
// a GET answers the file's bytes, or 404. Keeps the target of every GET. Safe from any thread.

#include "contacts/ContactTexts.h"
#include "contacts/HttpExchange.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CannedFolder {
public:
    void add(const std::u16string& file, std::string bytes) {
        const std::lock_guard lock(m_state->mutex);
        m_state->files.emplace_back(file, std::move(bytes));
    }
    // Runs on the worker during each GET, before it answers.
    void onGet(std::function<void()> call) {
        const std::lock_guard lock(m_state->mutex);
        m_state->onGet = std::move(call);
    }
    std::vector<std::u16string> gets() const {
        const std::lock_guard lock(m_state->mutex);
        return m_state->gets;
    }

    HttpExchange exchange() const {
        return [state = m_state](const modWININET::HttpCall& call) {
            modWININET::HttpResult result;
            std::function<void()> hook;
            {
                const std::lock_guard lock(state->mutex);
                if (call.verb == "PROPFIND") {
                    result.status = 207;
                    result.body = "<?xml version=\"1.0\"?><D:multistatus xmlns:D=\"DAV:\">";
                    for (const auto& [file, bytes] : state->files) {
                        result.body += "<D:response><D:href>/vqhttpmail/2/3/4/Contacts/" +
                                       std::string(file.begin(), file.end()) + "</D:href></D:response>";
                    }
                    result.body += "</D:multistatus>";
                    return result;
                }
                state->gets.push_back(call.target);
                hook = state->onGet;
                result.status = 404;
                for (const auto& [file, bytes] : state->files) {
                    if (std::u16string(contacttext::contactPrefix) + file == call.target) {
                        result.status = 200;
                        result.body = bytes;
                    }
                }
            }
            if (hook) {
                hook();
            }
            return result;
        };
    }

private:
    struct State {
        std::mutex mutex;
        std::vector<std::pair<std::u16string, std::string>> files;
        std::vector<std::u16string> gets;
        std::function<void()> onGet;
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
};
