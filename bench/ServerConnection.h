#pragma once
// One accepted connection of a benchmark server, plain or TLS, as the server side sees it. TLS
// servers resume the sessions they hand out, as a web server does by default.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string_view>

struct ssl_ctx_st;
struct ssl_st;

// The server side's TLS context with that PEM certificate and key; null when either cannot be read.
std::shared_ptr<ssl_ctx_st> serverTlsContext(const std::filesystem::path& certificate,
                                             const std::filesystem::path& key);

class ServerConnection {
public:
    // Takes fd over. tls null: plain; else the handshake runs here, and a failed one leaves the
    // connection not ok.
    ServerConnection(int fd, ssl_ctx_st* tls);
    ~ServerConnection();  // ends TLS politely, then closes
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    bool ok() const { return m_ok; }
    // What recv answers: the count, 0 at the end, below 0 on failure.
    long receive(char* buffer, std::size_t size);
    bool sendAll(std::string_view bytes);

private:
    int m_fd;
    ssl_st* m_ssl = nullptr;
    bool m_ok = true;
};
