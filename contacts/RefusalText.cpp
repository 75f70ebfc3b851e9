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

std::u16string serverStoppedAnswering(const LoginState& login, const Verdict& stopped) {
    std::u16string_view what;
    switch (stopped.cause) {
        case StopCause::Silent: what = u" stopped answering. "; break;
        case StopCause::Slow: what = u" answered too slowly. "; break;
        case StopCause::Spoiling: what = u" spoilt five answers in a row. "; break;
        case StopCause::Busy: what = u" stayed busy for more than 30 seconds. "; break;
    }
    return u"The server " + serverAndPort(login) + std::u16string(what) + ascii::decimal(stopped.listed) + u" of " +
           ascii::decimal(stopped.total) + u" contacts were listed.";
}
