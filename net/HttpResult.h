#pragma once
// The typed face of the transport: one HTTP/1.0 exchange over its own connection, with the answer
// kept as bytes and every way it can fail named. modWININET::HttpRequest is the in-band wrapper
// over it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace modWININET {

// Why no whole answer came. None also covers a status of 300 or above: its body is never read.
enum class Failure {
    None,
    InvalidServer,  // the server text, port or verb cannot be sent: nothing was contacted
    NoConnection,   // the name did not resolve, or the connection was refused or unreachable
    TimedOut,       // no connection in time, or nothing arrived for the idle limit
    TooSlow,        // the answer began, then came slower than the floor (Limits) for its whole time
                    // (slower without a byte of it is TimedOut)
    CutOff,         // the connection ended before the answer was whole
    TooBig,         // the body passes the size cap
    NotHttp,        // what came back is no HTTP status line
    Certificate,    // the server's TLS certificate was refused
    TlsHandshake,   // the TLS handshake failed before any certificate was judged
};

// The server's own certificate, as a person checks it against what its administrator gives.
struct PeerCertificate {
    std::string sha256;              // the fingerprint, upper-case hex pairs joined by ":"
    std::vector<std::string> names;  // the DNS names and addresses it is made out for
    std::string notAfter;            // the end of its validity, as a date a person reads
};

struct HttpCall {
    std::u16string server;  // as the user typed it
    std::int32_t port = 0;
    std::string verb;
    std::u16string target;   // server-relative, goes out through Windows-1252
    std::string body;        // the body's bytes, sent as they are
    std::u16string headers;  // the caller's header lines, each ending in CR LF
    // Asked with the body's size before it grows to that size; false holds the transfer (the
    // server waits, no time limit runs) until a later ask says true. Empty: any size up to the cap.
    std::function<bool(std::size_t)> mayHold;
};

struct HttpResult {
    long status = 0;   // the final status; 0 when none came
    std::string body;  // the body's bytes for a status below 300; whole only when failure is None
    Failure failure = Failure::None;
    std::string reason;  // plain words for a person; empty when failure is None
    std::optional<PeerCertificate> certificate;
    // Whether any byte of an answer came: a time-out without one is a server that has stopped.
    bool heardAny = false;
    // Whether a connection stood (its TLS handshake passed), and whether the whole request, body
    // and all, went out on it: a write that went out whole and got no answer may have been done.
    bool connected = false;
    bool requestSent = false;
    // A 503's Retry-After in seconds (RFC 9110, the delay form); nullopt when absent or a date.
    std::optional<long> retryAfterSeconds;
    // The final answer's ETag header as it stood, quotes and any "W/" included, blanks around it
    // trimmed; nullopt when it sent none. A write names the version it replaces with it.
    std::optional<std::string> etag;

    // A status and, below 300, the whole body.
    bool whole() const { return failure == Failure::None && status != 0; }
    // The whole body of a success, else nothing.
    bool succeeded() const { return whole() && status < 300; }
};

// The in-band form HttpRequest answers with: "Error:" and the status for a status of 300 or above,
// the body read as Windows-1252 for a whole success, else the empty text.
std::u16string inBandText(const HttpResult& result);

// Safe to call from several threads at once: each call has its own libcurl handle. Never throws
// for anything the server or the network does.
HttpResult exchange(const HttpCall& call);

}  // namespace modWININET
