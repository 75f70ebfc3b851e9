#pragma once
// Names what kept a transfer from giving a whole answer, in words a person can act on.

#include "net/HttpResult.h"

#include <string>

namespace modWININET::detail {

// What a finished transfer left behind: libcurl's result code, the failure a callback of ours
// stopped it for (None if none did), whether a connection stood, and libcurl's own error text.
struct TransferSigns {
    int curlCode = 0;
    Failure stoppedFor = Failure::None;
    bool connected = false;
    const char* libraryText = "";
};

// Sets result's failure and reason from signs; the status and body are left as they are.
void describeFailure(HttpResult& result, const TransferSigns& signs);

// A result for a request that never went out, with reason as its words.
HttpResult failedBeforeSending(Failure failure, std::string reason);

}  // namespace modWININET::detail
