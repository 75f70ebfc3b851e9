#include "contacts/RefusalText.h"

#include "codec/Utf8.h"

namespace {

std::u16string decimal(std::size_t number) {
    const std::string digits = std::to_string(number);
    return {digits.begin(), digits.end()};
}

std::u16string serverAndPort(const LoginState& login) {
    const std::string port = std::to_string(login.port);
    return login.server + u" on port " + std::u16string(port.begin(), port.end());
}

}  // namespace

std::u16string secureConnectionRefused(const LoginState& login, const modWININET::HttpResult& result) {
    std::u16string text =
        u"The secure connection to " + serverAndPort(login) + u" was refused: " + utf8::decode(result.reason) + u".";
    if (result.certificate) {
        text +=
            u"\n\nThe server's certificate has the SHA-256 fingerprint\n" + utf8::decode(result.certificate->sha256);
    }
    return text;
}

std::u16string serverStoppedAnswering(const LoginState& login, std::size_t listed, std::size_t total) {
    return u"The server " + serverAndPort(login) + u" stopped answering. " + decimal(listed) + u" of " +
           decimal(total) + u" contacts were listed.";
}
