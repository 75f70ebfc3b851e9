#include "tests/support/InBandExchange.h"

#include "codec/CodePage.h"

#include <charconv>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>

namespace {

modWININET::HttpResult resultOf(const std::u16string& answer) {
    modWININET::HttpResult result;
    constexpr std::u16string_view kError = u"Error:";
    if (answer.starts_with(kError) && answer.size() > kError.size()) {
        const std::string digits(answer.begin() + kError.size(), answer.end());
        long status = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), status);
        if (error == std::errc() && end == digits.data() + digits.size() && status >= 300) {
            result.status = status;
            return result;
        }
    }
    result.status = 200;
    result.body = codepage::windows1252Bytes(answer);
    return result;
}

}  // namespace

HttpExchange typedExchange(HttpFunction http) {
    auto serial = std::make_shared<std::mutex>();
    return [http = std::move(http), serial](const modWININET::HttpCall& call) {
        const std::lock_guard lock(*serial);
        return resultOf(http(call.server, call.port, codepage::fromWindows1252(call.verb), call.target,
                             codepage::fromWindows1252(call.body), call.headers));
    };
}

ContactClient inBandClient(ContactScreen& screen, LoginState login, HttpFunction http) {
    return ContactClient(screen, std::move(login), typedExchange(std::move(http)), [](std::chrono::milliseconds) {});
}
