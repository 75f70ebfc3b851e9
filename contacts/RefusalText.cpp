#include "contacts/RefusalText.h"

#include "codec/Utf8.h"

std::u16string secureConnectionRefused(const LoginState& login, const modWININET::HttpResult& result) {
    const std::string port = std::to_string(login.port);
    std::u16string text = u"The secure connection to " + login.server + u" on port " +
                          std::u16string(port.begin(), port.end()) + u" was refused: " + utf8::decode(result.reason) +
                          u".";
    if (result.certificate) {
        text +=
            u"\n\nThe server's certificate has the SHA-256 fingerprint\n" + utf8::decode(result.certificate->sha256);
    }
    return text;
}
