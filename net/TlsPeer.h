#pragma once
// The TLS side of one transfer: the settings that make libcurl check a server as a browser does,
// and, when the check refuses the server, the reason in plain words with the certificate it saw.

#include "net/HttpResult.h"

#include <memory>
#include <string>

typedef void CURL;  // as curl/curl.h declares it, so this header need not include it
struct x509_st;

namespace modWININET::detail {
class TlsShare;
}

namespace modWININET::detail {

// Whether a connection offers a session of the share's cache for its host and port.
enum class Resumption { Offered, Refrained };

class TlsPeer {
public:
    TlsPeer();
    ~TlsPeer();
    TlsPeer(const TlsPeer&) = delete;
    TlsPeer& operator=(const TlsPeer&) = delete;

    // TLS 1.2 or newer, the chain and host name verified against the share's store, no ALPN, and
    // a watch on the server's certificate; when offered, a session of the share's cache for the same
    // host and port is offered, and a new one kept there. The handshake is libcurl's. share must
    // outlive the transfer.
    void configure(CURL* handle, const TlsShare& share, Resumption resumption);

    // For a transfer that ended in Failure::Certificate or Failure::TlsHandshake: the reason in
    // plain words, and for a certificate refused, that certificate. hostName is the host the user
    // asked for; libraryText libcurl's error text. Other results are left as they are.
    void explain(HttpResult& result, CURL* handle, const std::string& hostName, const std::string& libraryText) const;

    // Called by OpenSSL's verification with each certificate it judges; keeps the server's own.
    void keep(x509_st* certificate);

    // Whether the handshake began with a session to resume: only then can a full one fare better.
    bool offeredSession() const { return m_offeredSession; }
    void noteOfferedSession(bool offered) { m_offeredSession = offered; }

    const TlsShare* share() const { return m_share; }

private:
    struct Free {
        void operator()(x509_st* certificate) const;
    };
    std::unique_ptr<x509_st, Free> m_certificate;
    const TlsShare* m_share = nullptr;
    bool m_offeredSession = false;
};

}  // namespace modWININET::detail
