#include "bench/ServerConnection.h"

#include "tests/support/LoopbackServer.h"

#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <climits>

std::shared_ptr<ssl_ctx_st> serverTlsContext(const std::filesystem::path& certificate,
                                             const std::filesystem::path& key) {
    std::shared_ptr<SSL_CTX> context(SSL_CTX_new(TLS_server_method()), SSL_CTX_free);
    if (!context || SSL_CTX_use_certificate_chain_file(context.get(), certificate.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context.get(), key.c_str(), SSL_FILETYPE_PEM) != 1) {
        return nullptr;
    }
    return context;
}

ServerConnection::ServerConnection(int fd, ssl_ctx_st* tls) : m_fd(fd) {
    if (!tls) {
        return;
    }
    m_ssl = SSL_new(tls);
    m_ok = m_ssl && SSL_set_fd(m_ssl, fd) == 1 && SSL_accept(m_ssl) == 1;
}

ServerConnection::~ServerConnection() {
    if (m_ssl) {
        if (m_ok) {
            SSL_shutdown(m_ssl);
        }
        SSL_free(m_ssl);
    }
    close(m_fd);
}

long ServerConnection::receive(char* buffer, std::size_t size) {
    if (!m_ssl) {
        return recv(m_fd, buffer, size, 0);
    }
    const int got = SSL_read(m_ssl, buffer, size > INT_MAX ? INT_MAX : static_cast<int>(size));
    return got > 0 ? got : (SSL_get_error(m_ssl, got) == SSL_ERROR_ZERO_RETURN ? 0 : -1);
}

bool ServerConnection::sendAll(std::string_view bytes) {
    if (!m_ssl) {
        return nettest::sendBlocking(m_fd, bytes);
    }
    while (!bytes.empty()) {
        std::size_t written = 0;
        if (SSL_write_ex(m_ssl, bytes.data(), bytes.size(), &written) != 1) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}
