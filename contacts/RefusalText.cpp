#include "contacts/RefusalText.h"

#include "codec/AsciiText.h"
#include "codec/Utf8.h"

namespace {

std::u16string serverAndPort(const LoginState& login) {
    return login.server + u" on port " + ascii::decimal(login.port);
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
    return u"The server " + serverAndPort(login) + u" stopped answering. " + ascii::decimal(listed) + u" of " +
           ascii::decimal(total) + u" contacts were listed.";
}
