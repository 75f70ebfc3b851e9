#include "net/modWININET.h"

#include "net/CurlTransfer.h"
#include "net/RequestText.h"
#include "net/TransferFailure.h"

#include "codec/AsciiText.h"
#include "codec/CodePage.h"

#include <mutex>
#include <utility>

namespace modWININET {
namespace {

std::mutex& limitsMutex() {
    static std::mutex mutex;
    return mutex;
}

Limits& currentLimits() {
    static Limits value;
    return value;
}

// The routine's own lines around the caller's, in the order the server expects them. The empty
// "Accept:", "Expect:" and "Proxy-Connection:" stop libcurl from adding lines of its own.
std::vector<std::string> wireHeaderLines(std::u16string_view callerHeaders, const detail::TransferRequest& request) {
    std::vector<std::string> lines{"User-Agent: http generic"};
    for (std::string& line : detail::callerHeaderLines(callerHeaders)) {
        lines.push_back(std::move(line));
    }
    lines.emplace_back("Content-Type: application/x-www-form-urlencoded");
    if (request.sendsBody) {
        lines.push_back("Content-Length: " + std::to_string(request.body.size()));
    }
    lines.emplace_back("Accept:");
    lines.emplace_back("Expect:");
    lines.emplace_back("Proxy-Connection:");
    return lines;
}

// GET and HEAD with nothing to send carry no body and no Content-Length; every other request sends
// its body, an empty one as "Content-Length: 0".
bool sendsBody(const std::string& verb, const std::string& body) {
    return !body.empty() || (verb != "GET" && verb != "HEAD");
}

}  // namespace

std::u16string inBandText(const HttpResult& result) {
    if (result.status >= 300) {
        return u"Error:" + ascii::decimal(result.status);
    }
    return result.succeeded() ? codepage::fromWindows1252(result.body) : std::u16string();
}

Limits limits() {
    const std::lock_guard lock(limitsMutex());
    return currentLimits();
}

void setLimits(const Limits& value) {
    const std::lock_guard lock(limitsMutex());
    currentLimits() = value;
}

// The public signature takes its texts by value; code outside the team compiles against it.
// NOLINTBEGIN(performance-unnecessary-value-param)
// cppcheck-suppress passedByValue
std::u16string HttpRequest(std::u16string server, std::int32_t port, std::u16string verb,
                           // cppcheck-suppress passedByValue
                           std::u16string target, std::u16string body, std::u16string headers) {
    // NOLINTEND(performance-unnecessary-value-param)
    // A character of the verb that Windows-1252 cannot hold becomes "?", which no verb may hold.
    return inBandText(exchange({std::move(server),
                                port,
                                codepage::windows1252Bytes(verb),
                                std::move(target),
                                codepage::windows1252Bytes(body),
                                std::move(headers),
                                {}}));
}

HttpResult exchange(const HttpCall& call) {
    const auto address = detail::urlHost(call.server);
    const auto method = detail::requestVerb(call.verb);
    if (!address || !method || !detail::isValidPort(call.port)) {
        return detail::failedBeforeSending(Failure::InvalidServer, "the server text, port or request is not valid");
    }
    detail::TransferRequest request;
    request.secure = address->scheme == detail::Scheme::Https;
    request.hostName = address->name;
    request.url = (request.secure ? "https://" : "http://") + address->host + ":" + std::to_string(call.port) +
                  detail::requestTarget(call.target);
    request.verb = *method;
    request.sendsBody = sendsBody(*method, call.body);
    request.body = call.body;
    request.headerLines = wireHeaderLines(call.headers, request);
    request.limits = limits();
    request.mayHold = call.mayHold;
    return detail::runTransfer(request);
}

}  // namespace modWININET
