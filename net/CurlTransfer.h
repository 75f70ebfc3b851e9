#pragma once
// One HTTP exchange over one libcurl easy handle, set up so that libcurl adds nothing of its own to
// the request beyond the request line and Host, follows no redirect, keeps no state and stops at
// the first sign that the answer is not a whole success.

#include "net/modWININET.h"

#include <cstdint>
#include <string>
#include <vector>

namespace modWININET::detail {

struct TransferRequest {
    std::string url;  // scheme, host, port and the encoded target
    std::string verb;
    std::vector<std::string> headerLines;  // in wire order, after Host
    bool sendsBody = false;                // false: no body and no Content-Length at all
    std::string body;                      // the body's bytes, NUL bytes included
    Limits limits;
};

struct TransferOutcome {
    bool headersComplete = false;  // a status line and the blank line after the headers came
    long status = 0;
    bool bodyComplete = false;  // the body arrived whole, within the cap, with no error
    std::u16string body;        // what arrived for a status below 300; whole only if bodyComplete
};

// Never throws for network faults; any of them leaves headersComplete or bodyComplete false.
TransferOutcome runTransfer(const TransferRequest& request);

}  // namespace modWININET::detail
