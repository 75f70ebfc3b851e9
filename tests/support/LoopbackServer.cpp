#include "tests/support/LoopbackServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <cstring>

namespace nettest {
namespace {

// Test traffic stays on loopback: a proxy named in the environment must not take it elsewhere. Set
// before main, so that it holds in every test, also those that start no server.
[[maybe_unused]] const bool kNoProxy = setenv("no_proxy", "*", 1) == 0;

sockaddr_in loopbackV4(std::uint16_t port) {
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    where.sin_port = htons(port);
    return where;
}

bool bindLoopback(int fd, Address address, std::uint16_t port) {
    if (address == Address::Ipv6) {
        sockaddr_in6 where{};
        where.sin6_family = AF_INET6;
        where.sin6_addr = in6addr_loopback;
        where.sin6_port = htons(port);
        return bind(fd, reinterpret_cast<sockaddr*>(&where), sizeof where) == 0;
    }
    const sockaddr_in where = loopbackV4(port);
    return bind(fd, reinterpret_cast<const sockaddr*>(&where), sizeof where) == 0;
}

std::uint16_t boundPort(int fd) {
    sockaddr_storage where{};
    socklen_t length = sizeof where;
    getsockname(fd, reinterpret_cast<sockaddr*>(&where), &length);
    if (where.ss_family == AF_INET6) {
        return ntohs(reinterpret_cast<sockaddr_in6*>(&where)->sin6_port);
    }
    return ntohs(reinterpret_cast<sockaddr_in*>(&where)->sin_port);
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

}  // namespace

LoopbackListener listenOnLoopback(Address address, std::uint16_t port, int backlog) {
    const int fd = socket(address == Address::Ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return {};
    }
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (!bindLoopback(fd, address, port) || listen(fd, backlog) != 0) {
        close(fd);
        return {};
    }
    return {fd, boundPort(fd)};
}

int connectToLoopback(std::uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in where = loopbackV4(port);
    if (fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

std::size_t completeRequestLength(const std::string& received) {
    const auto headerEnd = received.find("\r\n\r\n");
    if (headerEnd == std::string::npos) {
        return 0;
    }
    const std::string headers = lowered(received.substr(0, headerEnd + 2));
    std::size_t bodyLength = 0;
    const auto field = headers.find("\r\ncontent-length:");
    if (field != std::string::npos) {
        auto first = headers.data() + field + 17;
        while (*first == ' ') {
            ++first;
        }
        std::from_chars(first, headers.data() + headers.size(), bodyLength);
    }
    const std::size_t total = headerEnd + 4 + bodyLength;
    return received.size() >= total ? total : 0;
}

char LoopbackServer::streamedByte(std::size_t position) {
    return char('a' + position % 26);
}

LoopbackServer::LoopbackServer(Script script, Address address, std::uint16_t port) : m_script(std::move(script)) {
    const LoopbackListener listener = listenOnLoopback(address, port);
    if (listener.fd < 0 || pipe(m_wakePipe) != 0) {
        if (listener.fd >= 0) {
            close(listener.fd);
        }
        return;
    }
    m_listenFd = listener.fd;
    m_port = listener.port;
    m_thread = std::thread([this] { serve(); });
}

LoopbackServer::~LoopbackServer() {
    stop();
    for (int fd : {m_listenFd, m_wakePipe[0], m_wakePipe[1]}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

void LoopbackServer::stop() {
    if (m_thread.joinable()) {
        const char wake = 1;
        (void)!write(m_wakePipe[1], &wake, 1);
        m_thread.join();
    }
}

std::vector<std::string> LoopbackServer::requests() const {
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

void LoopbackServer::setReply(std::string reply) {
    const std::lock_guard lock(m_mutex);
    m_script.reply = std::move(reply);
}

// Waits until fd is ready for events; false once the server is stopping or the peer is gone.
bool LoopbackServer::waitFor(int fd, short events) {
    std::array<pollfd, 2> watched{{{fd, events, 0}, {m_wakePipe[0], POLLIN, 0}}};
    while (poll(watched.data(), watched.size(), -1) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return (watched[1].revents & POLLIN) == 0 && (watched[0].revents & (events | POLLHUP | POLLERR)) != 0;
}

void LoopbackServer::serve() {
    while (waitFor(m_listenFd, POLLIN)) {
        const int fd = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            continue;
        }
        ++m_connections;
        handle(fd);
        close(fd);
    }
}

bool sendBlocking(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(std::size_t(sent));
    }
    return true;
}

bool LoopbackServer::sendAll(int fd, const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t sent = send(fd, data, length, MSG_NOSIGNAL);
        if (sent < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!waitFor(fd, POLLOUT)) {
                return false;
            }
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        m_bytesSent += std::uint64_t(sent);
        data += sent;
        length -= std::size_t(sent);
    }
    return true;
}

bool LoopbackServer::sleepUnlessStopped(std::chrono::milliseconds time) {
    pollfd wake{m_wakePipe[0], POLLIN, 0};
    return poll(&wake, 1, int(time.count())) == 0;
}

bool LoopbackServer::sendStream(int fd) {
    std::array<char, 65536> chunk{};
    const std::size_t step = m_script.pause.count() > 0 ? 1 : chunk.size();
    for (std::size_t sent = 0; sent < m_script.streamedBytes; sent += step) {
        const std::size_t length = std::min(step, m_script.streamedBytes - sent);
        for (std::size_t i = 0; i < length; ++i) {
            chunk[i] = streamedByte(sent + i);
        }
        if (!sendAll(fd, chunk.data(), length) || (step == 1 && !sleepUnlessStopped(m_script.pause))) {
            return false;
        }
    }
    return true;
}

void LoopbackServer::handle(int fd) {
    std::string received;
    std::array<char, 16384> buffer{};
    while (completeRequestLength(received) == 0 && waitFor(fd, POLLIN)) {
        const ssize_t got = recv(fd, buffer.data(), buffer.size(), 0);
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        received.append(buffer.data(), std::size_t(got));
    }
    std::string reply;
    {
        const std::lock_guard lock(m_mutex);
        if (m_script.keepRequests) {
            m_requests.push_back(received);
        }
        reply = m_script.reply;
    }
    bool open = completeRequestLength(received) != 0;
    if (open && m_script.answers) {
        open = sendAll(fd, reply.data(), reply.size()) && sendStream(fd);
    }
    if (open && (!m_script.answers || m_script.ending == Ending::Hold)) {
        waitFor(fd, POLLIN);  // until the client gives up or the server stops
    } else if (open && m_script.ending == Ending::Reset) {
        const linger abortive{1, 0};
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    }
}

}  // namespace nettest
