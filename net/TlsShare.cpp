#include "net/TlsShare.h"

#include <curl/curl.h>
#include <openssl/x509_vfy.h>

#include <utility>

namespace modWININET::detail {
namespace {

static_assert(CURL_LOCK_DATA_LAST == 8, "TlsShare keeps one lock per kind of libcurl's shared data");

void lockShare(CURL*, curl_lock_data data, curl_lock_access, void* share) {
    static_cast<const TlsShare*>(share)->lockFor(data).lock();
}

void unlockShare(CURL*, curl_lock_data data, void* share) {
    static_cast<const TlsShare*>(share)->lockFor(data).unlock();
}

// Where libcurl was built to look for the system's authorities (Debian: the bundle file and the
// hashed folder beside it), so that the shared store trusts exactly what each connection trusted
// when libcurl read the store itself.
std::pair<std::string, std::string> libcurlTrustPaths() {
    std::pair<std::string, std::string> paths;
    CURL* probe = curl_easy_init();
    if (!probe) {
        return paths;
    }
    char* file = nullptr;
    char* folder = nullptr;
    if (curl_easy_getinfo(probe, CURLINFO_CAINFO, &file) == CURLE_OK && file) {
        paths.first = file;
    }
    if (curl_easy_getinfo(probe, CURLINFO_CAPATH, &folder) == CURLE_OK && folder) {
        paths.second = folder;
    }
    curl_easy_cleanup(probe);
    return paths;
}

std::mutex& systemMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<const TlsShare>& systemShare() {
    static std::shared_ptr<const TlsShare> share;
    return share;
}

// The authorities of a PEM file and of a folder of hashed certificates (either may be empty), with
// the verification flags libcurl would set on a store it loaded itself. What cannot be read is left
// out. Null only when OpenSSL could not make a store.
x509_store_st* makeTrustStore(const std::string& file, const std::string& folder) {
    X509_STORE* store = X509_STORE_new();
    if (!store) {
        return nullptr;
    }
    if (!file.empty()) {
        (void)X509_STORE_load_file(store, file.c_str());
    }
    if (!folder.empty()) {
        (void)X509_STORE_load_path(store, folder.c_str());
    }
    // libcurl's own flags on a store it reads: trusted authorities first, and an authority of the
    // store counts as an anchor also when it is not self-signed.
    X509_STORE_set_flags(store, X509_V_FLAG_TRUSTED_FIRST | X509_V_FLAG_PARTIAL_CHAIN);
    return store;
}

}  // namespace

TlsShare::TlsShare(x509_store_st* store) : m_store(store), m_sessions(curl_share_init()) {
    if (!m_sessions) {
        return;
    }
    // Only TLS sessions: libcurl keys them by host and port, and resumes one only for the same.
    if (curl_share_setopt(m_sessions, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION) != CURLSHE_OK ||
        curl_share_setopt(m_sessions, CURLSHOPT_USERDATA, this) != CURLSHE_OK ||
        curl_share_setopt(m_sessions, CURLSHOPT_LOCKFUNC, lockShare) != CURLSHE_OK ||
        curl_share_setopt(m_sessions, CURLSHOPT_UNLOCKFUNC, unlockShare) != CURLSHE_OK) {
        curl_share_cleanup(m_sessions);
        m_sessions = nullptr;
    }
}

TlsShare::~TlsShare() {
    if (m_sessions) {
        curl_share_cleanup(m_sessions);
    }
    X509_STORE_free(m_store);
}

std::shared_ptr<const TlsShare> systemTlsShare() {
    const std::lock_guard lock(systemMutex());
    std::shared_ptr<const TlsShare>& share = systemShare();
    if (!share) {
        const auto [file, folder] = libcurlTrustPaths();
        if (X509_STORE* store = makeTrustStore(file, folder)) {
            share = std::make_shared<const TlsShare>(store);
        }
    }
    return share;
}

std::shared_ptr<const TlsShare> tlsShareTrusting(const std::string& pemFile) {
    X509_STORE* store = makeTrustStore(pemFile, {});
    return store ? std::make_shared<const TlsShare>(store) : nullptr;
}

}  // namespace modWININET::detail
