#pragma once
// The one routine through which the program talks to the mail server: one HTTP/1.0 request per
// call, over its own connection, nothing kept between calls.
//
// HttpRequest answers in band, in one of three forms:
//   - the response body, converted from Windows-1252, when the status is below 300;
//   - "Error:" followed by the status code when the status is 300 or above (the body is not read);
//   - the empty text when no whole answer came: bad server text or port, no connection, no status,
//     a time-out, a body cut off before its end, or a body over the size cap.
// It never throws and shows nothing. It is the in-band face of exchange() (HttpResult.h), which
// callers that need the bytes or the reason of a failure use instead.

#include "net/HttpResult.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace modWININET {

std::u16string HttpRequest(std::u16string server, std::int32_t port, std::u16string verb, std::u16string target,
                           std::u16string body, std::u16string headers);

// Bounds on every request. Users never see them; tests shorten the time-outs.
struct Limits {
    std::chrono::milliseconds connectTimeout{60'000};
    std::chrono::milliseconds idleTimeout{60'000};  // a transfer receiving nothing this long ends
    // Once connected, a transfer that moves fewer than floorBytesPerSecond on average over each
    // floorTime ends too: a server that drips its answer holds an operation no less than a silent
    // one.
    std::size_t floorBytesPerSecond = 1024;
    std::chrono::milliseconds floorTime{30'000};
    std::size_t maxBodyBytes = std::size_t{64} << 20;
};

Limits limits();
void setLimits(const Limits& limits);

}  // namespace modWININET
