#include "net/CurlTransfer.h"

#include "net/TlsPeer.h"
#include "net/TlsShare.h"
#include "net/TransferFailure.h"
#include "net/TransferPace.h"

#include "codec/AsciiText.h"

#include <curl/curl.h>

#include <array>
#include <charconv>
#include <chrono>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

namespace modWININET::detail {
namespace {

using Clock = std::chrono::steady_clock;

void initialiseCurlOnce() {
    // curl_global_init is not safe to race; a function-local static runs it exactly once.
    static const CURLcode kInit = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)kInit;
}

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

// What the callbacks share during one transfer.
struct Exchange {
    CURL* handle = nullptr;
    const Limits* limits = nullptr;
    std::function<bool(std::size_t)> mayHold;
    HttpResult outcome;
    bool headersComplete = false;        // a final status line and the blank line after its headers came
    Failure stoppedFor = Failure::None;  // why a callback ended the transfer, if one did
    bool connected = false;
    bool atStatusLine = true;          // the next header line opens a block: an interim or the final answer
    long statusInLine = -1;            // the code as the block's status line spells it; -1 when it is no status
    std::optional<TransferPace> pace;  // from the connection on
    curl_off_t lastUploaded = 0;
    bool held = false;           // the body callback paused the transfer: mayHold said no
    std::size_t heldLength = 0;  // the piece libcurl hands over again once it is let go on
};

void noteActivity(Exchange& exchange) {
    if (exchange.pace) {
        exchange.pace->active(Clock::now());
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// "HTTP/" digit ["." digit], spaces, then exactly three digits ending the line or followed by a
// space. libcurl is more lenient (it reads "HTTP/2" followed by any run of digits as the code, and
// that number may overflow), so the line is checked here before its code decides anything.
long statusCodeOf(std::string_view line) {
    if (!line.starts_with("HTTP/") || line.size() < 6 || !isDigit(line[5])) {
        return -1;
    }
    std::size_t at = 6;
    if (at + 1 < line.size() && line[at] == '.' && isDigit(line[at + 1])) {
        at += 2;
    }
    if (at >= line.size() || line[at] != ' ') {
        return -1;
    }
    at = line.find_first_not_of(' ', at);
    if (at == std::string_view::npos || line.size() - at < 3 || !isDigit(line[at]) || !isDigit(line[at + 1]) ||
        !isDigit(line[at + 2])) {
        return -1;
    }
    const std::string_view after = line.substr(at + 3);
    if (!after.empty() && after.front() != ' ' && after.front() != '\r' && after.front() != '\n') {
        return -1;
    }
    return (line[at] - '0') * 100L + (line[at + 1] - '0') * 10L + (line[at + 2] - '0');
}

// "Retry-After: 120" as seconds; nullopt for anything else (the date form, a name that differs).
std::optional<long> retryAfterOf(std::string_view line) {
    constexpr std::string_view kName = "retry-after:";
    if (!ascii::startsWithNoCase(line, kName)) {
        return std::nullopt;
    }
    const std::string_view value = ascii::trimmed(line.substr(kName.size()), " \t\r\n");
    long seconds = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (error == std::errc::result_out_of_range && !value.empty() && isDigit(value.front())) {
        return std::numeric_limits<long>::max();  // any caller caps it anyway
    }
    if (error != std::errc() || end != value.data() + value.size() || seconds < 0) {
        return std::nullopt;
    }
    return seconds;
}

// The value of "ETag: ..." as it stands; nullopt for another header or an empty value.
std::optional<std::string> etagOf(std::string_view line) {
    constexpr std::string_view kName = "etag:";
    if (!ascii::startsWithNoCase(line, kName)) {
        return std::nullopt;
    }
    const std::string_view value = ascii::trimmed(line.substr(kName.size()), " \t\r\n");
    return value.empty() ? std::nullopt : std::optional<std::string>(value);
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto& exchange = *static_cast<Exchange*>(user);
    const std::string_view line(data, size * count);
    noteActivity(exchange);
    exchange.outcome.heardAny = true;
    if (exchange.atStatusLine) {
        exchange.atStatusLine = false;
        exchange.statusInLine = statusCodeOf(line);
        if (exchange.statusInLine < 0) {
            exchange.stoppedFor = Failure::NotHttp;
            return 0;
        }
        return line.size();
    }
    if (line != "\r\n" && line != "\n") {
        if (const std::optional<long> seconds = retryAfterOf(line)) {
            exchange.outcome.retryAfterSeconds = seconds;
        } else if (std::optional<std::string> etag = etagOf(line)) {
            exchange.outcome.etag = std::move(etag);
        }
        return line.size();
    }
    exchange.atStatusLine = true;
    long status = 0;
    curl_easy_getinfo(exchange.handle, CURLINFO_RESPONSE_CODE, &status);
    if (status != exchange.statusInLine) {
        exchange.stoppedFor = Failure::NotHttp;
        return 0;  // libcurl read another code than the line holds: the answer is not trusted
    }
    if (status < 200) {
        exchange.outcome.etag.reset();  // an interim answer's headers are not the final one's
        return line.size();  // an interim answer: the real one follows
    }
    if (status != 503) {
        exchange.outcome.retryAfterSeconds.reset();  // only a 503's delay is honoured
    }
    exchange.outcome.status = status;
    exchange.headersComplete = true;
    if (status >= 300) {
        return 0;  // the body of a failure is never read
    }
    curl_off_t announced = -1;
    curl_easy_getinfo(exchange.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    if (announced > 0 && std::uint64_t(announced) > exchange.limits->maxBodyBytes) {
        exchange.stoppedFor = Failure::TooBig;
        return 0;
    }
    if (announced > 0) {
        exchange.outcome.body.reserve(std::size_t(announced));
    }
    return line.size();
}

// The cap halved until one more halving would not hold what is needed. The library's own doubling
// (which reserve also applies) would pass the cap by up to twice; these steps end exactly on it.
std::size_t grownCapacity(std::size_t needed, std::size_t cap) {
    std::size_t capacity = cap;
    while (capacity / 2 >= needed && capacity / 2 > 0) {
        capacity /= 2;
    }
    return capacity;
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto& exchange = *static_cast<Exchange*>(user);
    const std::size_t length = size * count;
    std::string& body = exchange.outcome.body;
    if (length > exchange.limits->maxBodyBytes - body.size()) {
        exchange.stoppedFor = Failure::TooBig;
        return CURL_WRITEFUNC_ERROR;
    }
    if (exchange.mayHold && !exchange.mayHold(body.size() + length)) {
        exchange.held = true;
        exchange.heldLength = length;
        return CURL_WRITEFUNC_PAUSE;  // libcurl keeps the piece and hands it over again
    }
    noteActivity(exchange);
    if (body.size() + length > body.capacity()) {
        body.reserve(grownCapacity(body.size() + length, exchange.limits->maxBodyBytes));
    }
    body.append(data, length);
    return length;
}

// Called before the request goes out: from here on silence counts against the idle limit.
int onConnected(void* user, char*, char*, int, int) {
    auto& exchange = *static_cast<Exchange*>(user);
    exchange.connected = true;
    exchange.pace.emplace(*exchange.limits);
    return CURL_PREREQFUNC_OK;
}

// A held transfer is let go on once mayHold allows what it has plus the piece libcurl keeps.
// Time held counts against neither limit: the server is waiting for us.
int releaseHeld(Exchange& exchange, Clock::time_point now, curl_off_t moved) {
    exchange.pace->restart(now, moved);
    if (!exchange.mayHold(exchange.outcome.body.size() + exchange.heldLength)) {
        return 0;
    }
    exchange.held = false;
    if (curl_easy_pause(exchange.handle, CURLPAUSE_CONT) != CURLE_OK) {
        exchange.stoppedFor = Failure::CutOff;
        return 1;
    }
    return 0;
}

int onProgress(void* user, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded) {
    auto& exchange = *static_cast<Exchange*>(user);
    const auto now = Clock::now();
    if (!exchange.pace) {
        return 0;  // the connect time-out governs until the connection stands
    }
    if (exchange.held) {
        return releaseHeld(exchange, now, downloaded + uploaded);
    }
    if (uploaded != exchange.lastUploaded) {
        exchange.lastUploaded = uploaded;
        exchange.pace->active(now);
    }
    const Failure late = exchange.pace->judge(now, downloaded + uploaded, exchange.outcome.heardAny);
    if (late == Failure::None) {
        return 0;
    }
    exchange.stoppedFor = late;
    return 1;
}

HeaderList makeHeaderList(const std::vector<std::string>& lines) {
    HeaderList list;
    for (const std::string& line : lines) {
        curl_slist* grown = curl_slist_append(list.get(), line.c_str());
        if (!grown) {
            return nullptr;
        }
        (void)list.release();
        list.reset(grown);
    }
    return list;
}

long milliseconds(std::chrono::milliseconds value) {
    return value.count() < 1 ? 1L : long(value.count());
}

void setOptions(CURL* handle, const TransferRequest& request, curl_slist* headers, Exchange& exchange) {
    curl_easy_setopt(handle, CURLOPT_URL, request.url.c_str());
    // Only the scheme the server text asked for: a bare host never turns into TLS, nor back.
    const char* protocol = request.secure ? "https" : "http";
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, protocol);
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, protocol);
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(handle, CURLOPT_HTTP09_ALLOWED, 0L);
    curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(handle, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(handle, CURLOPT_DISALLOW_USERNAME_IN_URL, 1L);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
    if (request.sendsBody) {
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(request.body.size()));
        curl_easy_setopt(handle, CURLOPT_POSTFIELDS, request.body.data());
    } else if (request.verb == "HEAD") {
        curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);  // else libcurl waits for the announced body
    } else {
        curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    }
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, milliseconds(request.limits.connectTimeout));
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &exchange);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &exchange);
    curl_easy_setopt(handle, CURLOPT_PREREQFUNCTION, onConnected);
    curl_easy_setopt(handle, CURLOPT_PREREQDATA, &exchange);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &exchange);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
}

}  // namespace

namespace {

// libcurl counts the request's bytes as they leave: its head, then any body.
bool requestWentOut(CURL* handle, const TransferRequest& request) {
    long head = 0;
    curl_off_t body = 0;
    curl_easy_getinfo(handle, CURLINFO_REQUEST_SIZE, &head);
    curl_easy_getinfo(handle, CURLINFO_SIZE_UPLOAD_T, &body);
    return head > 0 && (!request.sendsBody || std::uint64_t(body) >= request.body.size());
}

// One transfer's answer, and whether its TLS handshake began by offering a session.
struct Transferred {
    HttpResult result;
    bool offeredSession = false;
};

Transferred transferOnce(const TransferRequest& request, const std::shared_ptr<const TlsShare>& share,
                         Resumption resumption) {
    const EasyHandle handle(curl_easy_init());
    const HeaderList headers = makeHeaderList(request.headerLines);
    if (!handle || (!headers && !request.headerLines.empty()) || (request.secure && !share)) {
        return {failedBeforeSending(Failure::NoConnection, "the network library could not set up the request")};
    }
    Exchange exchange;
    exchange.handle = handle.get();
    exchange.limits = &request.limits;
    exchange.mayHold = request.mayHold;
    std::array<char, CURL_ERROR_SIZE> errorText{};
    setOptions(handle.get(), request, headers.get(), exchange);
    TlsPeer peer;
    if (request.secure) {
        peer.configure(handle.get(), *share, resumption);
    }
    curl_easy_setopt(handle.get(), CURLOPT_ERRORBUFFER, errorText.data());
    const CURLcode code = curl_easy_perform(handle.get());
    HttpResult result = std::move(exchange.outcome);  // a member is not moved on its own; bodies are large
    result.connected = exchange.connected;
    result.requestSent = result.heardAny || (exchange.connected && requestWentOut(handle.get(), request));
    if (!exchange.headersComplete) {
        result.status = 0;
    }
    const bool failureStatus = exchange.headersComplete && result.status >= 300;
    if (failureStatus) {
        result.body.clear();
    } else if (code != CURLE_OK || !exchange.headersComplete) {
        // libcurl's text may end in a blank ("... in connection to host:port ").
        const std::string libraryText(ascii::trimmed(errorText.data()));
        describeFailure(result, {code, exchange.stoppedFor, exchange.connected, libraryText.c_str()});
        peer.explain(result, handle.get(), request.hostName, libraryText);
    }
    return {std::move(result), peer.offeredSession()};
}

}  // namespace

HttpResult runTransfer(const TransferRequest& request) {
    initialiseCurlOnce();
    // Held until the handles that use its store and sessions are cleaned up.
    const std::shared_ptr<const TlsShare> share = request.secure ? currentTlsShare() : nullptr;
    Transferred first = transferOnce(request, share, Resumption::Offered);
    // A server may end the handshake over a session it handed out itself. Nothing of the request
    // was sent before the handshake ended, so once more with a full handshake is safe for any verb;
    // a handshake that failed without a session fails the same way again.
    if (first.result.failure == Failure::TlsHandshake && first.offeredSession) {
        return transferOnce(request, share, Resumption::Refrained).result;
    }
    return std::move(first.result);
}

}  // namespace modWININET::detail
