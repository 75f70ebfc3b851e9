#pragma once
// One HTTP exchange over one libcurl easy handle, set up so that libcurl adds nothing of its own to
// the request beyond the request line and Host, follows no redirect, keeps no state and stops at
// the first sign that the answer is not a whole success.

#include "net/HttpResult.h"
#include "net/modWININET.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace modWININET::detail {

struct TransferRequest {
    std::string url;       // scheme, host, port and the encoded target
    bool secure = false;   // TLS, checked as a browser checks it
    std::string hostName;  // the host as a person reads it, for a certificate made out for another
    std::string verb;
    std::vector<std::string> headerLines;  // in wire order, after Host
    bool sendsBody = false;                // false: no body and no Content-Length at all
    std::string body;                      // the body's bytes, NUL bytes included
    Limits limits;
    std::function<bool(std::size_t)> mayHold;  // as HttpCall's
};

// Never throws for network faults. The status is set once a final status line and the blank line
// after its headers came; a failure names whatever kept the answer from being whole. A TLS
// handshake that failed is made once more without resumption when the first offered a session:
// the server may refuse a session it handed out itself, and nothing of the request was sent yet.
HttpResult runTransfer(const TransferRequest& request);

}  // namespace modWININET::detail
