#include "net/TlsPeer.h"

#include "net/CertificateFacts.h"
#include "net/TlsShare.h"

#include <curl/curl.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>

namespace modWININET::detail {
namespace {

// Where a context keeps its TlsPeer; one slot, made once for the whole program.
int peerSlot() {
    static const int kSlot = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return kSlot;
}

// OpenSSL's verdict is returned unchanged: this only looks. The target certificate is the
// server's own at every call, also when the chain fails higher up and the server's is never
// judged on its own.
int watchVerification(int verdict, X509_STORE_CTX* store) {
    auto* ssl = static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    auto* peer = ssl ? static_cast<TlsPeer*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), peerSlot())) : nullptr;
    if (peer) {
        peer->keep(X509_STORE_CTX_get0_cert(store));
    }
    return verdict;
}

// libcurl sets a cached session on the connection before its handshake starts; a connection without
// one has no session until its ClientHello is made, after this call.
void watchHandshake(const SSL* ssl, int where, int) {
    if ((where & SSL_CB_HANDSHAKE_START) == 0) {
        return;
    }
    auto* peer = static_cast<TlsPeer*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), peerSlot()));
    const SSL_SESSION* session = SSL_get_session(ssl);
    if (peer && session && SSL_SESSION_is_resumable(session) == 1) {
        peer->noteOfferedSession(true);
    }
}

// libcurl has set the context up, verification mode included, and makes the connection's SSL from
// it next, which takes the callback and the store over. libcurl read no authorities of its own.
CURLcode onContext(CURL*, void* context, void* user) {
    auto* ctx = static_cast<SSL_CTX*>(context);
    const TlsShare* share = static_cast<TlsPeer*>(user)->share();
    if (peerSlot() < 0 || SSL_CTX_set_ex_data(ctx, peerSlot(), user) != 1 || !share) {
        return CURLE_SSL_CONNECT_ERROR;
    }
    SSL_CTX_set1_cert_store(ctx, share->store());
    SSL_CTX_set_verify(ctx, SSL_CTX_get_verify_mode(ctx), watchVerification);
    SSL_CTX_set_info_callback(ctx, watchHandshake);
    return CURLE_OK;
}

bool isUntrustedIssuer(long verifyResult) {
    switch (verifyResult) {
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
        case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
        case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
        case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
        case X509_V_ERR_CERT_UNTRUSTED:
        case X509_V_ERR_CERT_REJECTED: return true;
        default: return false;
    }
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text.empty() ? "no name" : text;
}

}  // namespace

TlsPeer::TlsPeer() = default;
TlsPeer::~TlsPeer() = default;

void TlsPeer::Free::operator()(x509_st* certificate) const {
    X509_free(certificate);
}

void TlsPeer::keep(x509_st* certificate) {
    if (!m_certificate && certificate && X509_up_ref(certificate) == 1) {
        m_certificate.reset(certificate);
    }
}

void TlsPeer::configure(CURL* handle, const TlsShare& share, Resumption resumption) {
    m_share = &share;
    curl_easy_setopt(handle, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2));
    // Set though they are libcurl's defaults: nothing in this program turns them off.
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    // libcurl offers "http/1.0" for an HTTP/1.0 request, and Apache's mod_ssl ends the handshake
    // over it ("bad extension"). The request is HTTP/1.0 whatever ALPN would say.
    curl_easy_setopt(handle, CURLOPT_SSL_ENABLE_ALPN, 0L);
    // The share's store replaces the one libcurl would read for every connection.
    curl_easy_setopt(handle, CURLOPT_CAINFO, nullptr);
    curl_easy_setopt(handle, CURLOPT_CAPATH, nullptr);
    if (resumption == Resumption::Offered && share.sessions()) {
        curl_easy_setopt(handle, CURLOPT_SHARE, share.sessions());
    } else {
        curl_easy_setopt(handle, CURLOPT_SSL_SESSIONID_CACHE, 0L);
    }
    curl_easy_setopt(handle, CURLOPT_SSL_CTX_FUNCTION, onContext);
    curl_easy_setopt(handle, CURLOPT_SSL_CTX_DATA, this);
}

void TlsPeer::explain(HttpResult& result, CURL* handle, const std::string& hostName,
                      const std::string& libraryText) const {
    const std::string detail = libraryText.empty() ? std::string() : " (" + libraryText + ")";
    if (result.failure == Failure::TlsHandshake) {
        result.reason = "the TLS handshake failed" + detail;
        return;
    }
    if (result.failure != Failure::Certificate || !m_certificate) {
        return;  // a refusal before any certificate came keeps libcurl's words
    }
    long verifyResult = X509_V_OK;
    curl_easy_getinfo(handle, CURLINFO_SSL_VERIFYRESULT, &verifyResult);
    const PeerCertificate facts = certificateFacts(m_certificate.get());
    if (isUntrustedIssuer(verifyResult)) {
        result.reason = "not issued by an authority this computer trusts";
    } else if (verifyResult == X509_V_ERR_CERT_HAS_EXPIRED) {
        result.reason = "expired on " + facts.notAfter;
    } else if (!isMadeOutFor(m_certificate.get(), hostName)) {
        // libcurl checks the name after OpenSSL passed the chain, and then leaves the verify result
        // at its "not yet verified" value: the name is checked here again rather than inferred.
        result.reason = "made out for " + joined(facts.names) + ", not " + hostName;
    } else {
        result.reason = "its certificate was not accepted" + detail;
    }
    result.certificate = facts;
}

}  // namespace modWININET::detail
