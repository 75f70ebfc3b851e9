#include "net/TransferFailure.h"

#include <curl/curl.h>

#include <utility>

namespace modWININET::detail {
namespace {

Failure failureOfCode(CURLcode code, bool connected) {
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_CONNECT: return Failure::NoConnection;
        case CURLE_OPERATION_TIMEDOUT: return Failure::TimedOut;
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH: return Failure::Certificate;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSL_CIPHER: return Failure::TlsHandshake;
        case CURLE_WEIRD_SERVER_REPLY: return Failure::NotHttp;
        case CURLE_UNSUPPORTED_PROTOCOL:  // also libcurl's word for an answer without a status line
        case CURLE_URL_MALFORMAT: return connected ? Failure::NotHttp : Failure::InvalidServer;
        default: return connected ? Failure::CutOff : Failure::NoConnection;
    }
}

const char* wordsFor(Failure failure) {
    switch (failure) {
        case Failure::None: return "";
        case Failure::InvalidServer: return "the server text or port cannot be used";
        case Failure::NoConnection: return "no connection to the server";
        case Failure::TimedOut: return "the server did not answer in time";
        case Failure::TooSlow: return "the server's answer came too slowly";
        case Failure::CutOff: return "the connection ended before the whole answer came";
        case Failure::TooBig: return "the answer is larger than this program accepts";
        case Failure::NotHttp: return "the server's answer is not HTTP";
        case Failure::Certificate: return "the server's certificate was refused";
        case Failure::TlsHandshake: return "the secure connection could not be set up";
    }
    return "";
}

}  // namespace

void describeFailure(HttpResult& result, const TransferSigns& signs) {
    // A callback that stopped the transfer knows better than the code libcurl ends with for it.
    result.failure = signs.stoppedFor != Failure::None
                         ? signs.stoppedFor
                         : failureOfCode(static_cast<CURLcode>(signs.curlCode), signs.connected);
    if (result.failure == Failure::None) {
        result.failure = Failure::CutOff;  // the transfer ended well but no final status came
    }
    result.reason = wordsFor(result.failure);
    const std::string library = signs.libraryText ? signs.libraryText : "";
    if (!library.empty() && signs.stoppedFor == Failure::None) {
        result.reason += " (" + library + ")";
    }
}

HttpResult failedBeforeSending(Failure failure, std::string reason) {
    HttpResult result;
    result.failure = failure;
    result.reason = std::move(reason);
    return result;
}

}  // namespace modWININET::detail
