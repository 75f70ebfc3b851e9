#include "bench/CurlFloor.h"

#include <curl/curl.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr const char* kAuthorization = "Authorization: Basic ZGVtbzpkZW1v";

size_t keep(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

// One transfer, set up but not run; the answer goes to *answer.
CURL* transfer(const std::string& url, const char* verb, const std::string& body, curl_slist* headers,
               std::string* answer, const std::string& caFile) {
    CURL* curl = curl_easy_init();
    if (!caFile.empty()) {
        curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.c_str());
        curl_easy_setopt(curl, CURLOPT_CAPATH, nullptr);
    }
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, verb);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
    if (!body.empty()) {
        curl_easy_setopt(curl, CURLOPT_COPYPOSTFIELDS, body.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, keep);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, answer);
    return curl;
}

std::string contactUrl(const std::string& base, int i) {
    return base + "/c" + std::to_string(10000 + i) + ".vcf";
}

}  // namespace

std::string curlExchange(const std::string& url, const char* verb, const std::string& body, const std::string& caFile) {
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(
        curl_slist_append(nullptr, kAuthorization), &curl_slist_free_all);
    std::string answer;
    CURL* curl = transfer(url, verb, body, headers.get(), &answer, caFile);
    curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    return answer;
}

int curlListing(const std::string& base, int contacts, int width, const std::string& caFile) {
    int answered = !curlExchange(base, "PROPFIND", "<?xml version=\"1.0\"?><D:propfind/>", caFile).empty();
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(
        curl_slist_append(nullptr, kAuthorization), &curl_slist_free_all);
    CURLM* multi = curl_multi_init();
    std::vector<std::string> answers(static_cast<std::size_t>(contacts));
    int started = 0;
    int active = 0;
    while (active > 0 || started < contacts) {
        for (; active < width && started < contacts; ++started, ++active) {
            curl_multi_add_handle(multi, transfer(contactUrl(base, started), "GET", {}, headers.get(),
                                                  &answers[static_cast<std::size_t>(started)], caFile));
        }
        int running = 0;
        curl_multi_perform(multi, &running);
        int ended = 0;
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
            if (message->msg == CURLMSG_DONE) {
                curl_multi_remove_handle(multi, message->easy_handle);
                curl_easy_cleanup(message->easy_handle);
                --active;
                ++ended;
            }
        }
        // Wait for the network only when nothing ended: an ended transfer's place is taken at once.
        if (ended == 0) {
            curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
        }
    }
    curl_multi_cleanup(multi);
    for (const std::string& answer : answers) {
        answered += !answer.empty();
    }
    return answered;
}

int curlDeletes(const std::string& base, int contacts, int width, bool withGet) {
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(
        curl_slist_append(nullptr, kAuthorization), &curl_slist_free_all);
    CURLM* multi = curl_multi_init();
    std::vector<std::string> answers(static_cast<std::size_t>(contacts));
    // Each transfer's private pointer: its contact, and whether it is the GET before a DELETE.
    std::vector<std::pair<int, bool>> roles(static_cast<std::size_t>(contacts) * 2);
    const auto add = [&](int i, bool get) {
        CURL* curl = transfer(contactUrl(base, i), get ? "GET" : "DELETE", {}, headers.get(),
                              &answers[static_cast<std::size_t>(i)], {});
        auto& role = roles[static_cast<std::size_t>(i) * 2 + (get ? 1 : 0)];
        role = {i, get};
        curl_easy_setopt(curl, CURLOPT_PRIVATE, &role);
        curl_multi_add_handle(multi, curl);
    };
    int started = 0;
    int active = 0;
    int deleted = 0;
    while (active > 0 || started < contacts) {
        for (; active < width && started < contacts; ++started, ++active) {
            add(started, withGet);
        }
        int running = 0;
        curl_multi_perform(multi, &running);
        int ended = 0;
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
            if (message->msg != CURLMSG_DONE) {
                continue;
            }
            std::pair<int, bool>* role = nullptr;
            long status = 0;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &role);
            curl_easy_getinfo(message->easy_handle, CURLINFO_RESPONSE_CODE, &status);
            curl_multi_remove_handle(multi, message->easy_handle);
            curl_easy_cleanup(message->easy_handle);
            ++ended;
            if (role->second) {
                add(role->first, false);  // the slot goes on with this contact's DELETE
            } else {
                --active;
                deleted += status > 0 && status < 300 ? 1 : 0;
            }
        }
        if (ended == 0) {
            curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
        }
    }
    curl_multi_cleanup(multi);
    return deleted;
}
