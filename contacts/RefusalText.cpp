#include "contacts/RefusalText.h"

#include "codec/AsciiText.h"
#include "codec/Utf8.h"

std::u16string secureConnectionRefused(const LoginState& login, const modWININET::HttpResult& result) {
    std::u16string text = u"The secure connection to " + login.server + u" on port " + ascii::decimal(login.port) +
                          u" was refused: " + utf8::decode(result.reason) + u".";
    if (result.certificate) {
        text +=
            u"\n\nThe server's certificate has the SHA-256 fingerprint\n" + utf8::decode(result.certificate->sha256);
    }
    return text;
}
