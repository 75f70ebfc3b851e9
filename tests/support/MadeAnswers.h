#pragma once
// Transport answers made by hand, for the tests of what the contact logic makes of them.

#include "net/HttpResult.h"

#include <string>
#include <utility>

namespace made {

// A whole answer with that status (and body): the server was heard.
inline modWININET::HttpResult answered(long status, std::string body = {}) {
    modWININET::HttpResult answer;
    answer.status = status;
    answer.body = std::move(body);
    answer.heardAny = true;
    return answer;
}

// No whole answer, for that reason; heardAny: whether any byte of it came.
inline modWININET::HttpResult failedWith(modWININET::Failure failure, bool heardAny = false, long status = 0) {
    modWININET::HttpResult answer;
    answer.status = status;
    answer.failure = failure;
    answer.reason = "the reason";
    answer.heardAny = heardAny;
    return answer;
}

}  // namespace made
