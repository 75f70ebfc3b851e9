#pragma once
// What every TLS connection of the process would otherwise make again: the trust store (about 140
// authorities, some 30 ms of CPU to read) and the sessions a server handed out, which let the next
// connection to the same host and port skip the full handshake. One share serves every thread.

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>

typedef void CURLSH;  // as curl/curl.h declares it, so this header need not include it
struct x509_store_st;

namespace modWININET::detail {

class TlsShare {
public:
    // Takes over one reference to store, which must not be null.
    explicit TlsShare(x509_store_st* store);
    ~TlsShare();
    TlsShare(const TlsShare&) = delete;
    TlsShare& operator=(const TlsShare&) = delete;

    x509_store_st* store() const { return m_store; }
    // The session cache, locked for the threads that fetch at once; null when libcurl could not make
    // one, and then every connection does its full handshake.
    CURLSH* sessions() const { return m_sessions; }

    // The lock libcurl takes for one kind of its shared data (a curl_lock_data value).
    std::mutex& lockFor(int data) const { return m_locks.at(static_cast<std::size_t>(data)); }

private:
    x509_store_st* m_store;
    CURLSH* m_sessions = nullptr;
    mutable std::array<std::mutex, 8> m_locks;  // one per kind of data libcurl locks (curl_lock_data)
};

// The system's share: made once per process, on first use, from the trust store libcurl was built
// to read; null when no store could be made. A transfer keeps the share it started with to its end.
std::shared_ptr<const TlsShare> systemTlsShare();

// A share of its own that trusts only the authorities of a PEM file, with the verification flags
// libcurl would set on a store it loaded itself. A file that cannot be read trusts no one, so
// every server is refused as one no authority vouches for. Null only when no store could be made.
std::shared_ptr<const TlsShare> tlsShareTrusting(const std::string& pemFile);

}  // namespace modWININET::detail
