#pragma once
// Loopback sockets for tests, fuzz targets and benchmarks, and a raw-socket HTTP peer on a loopback
// address: it keeps every byte a client sends, up to the end of the request (headers, then
// Content-Length bytes), and answers with scripted bytes and a scripted ending. It serves one
// connection after another on its own thread until stopped; the destructor stops it.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace nettest {

enum class Ending {
    Close,  // an orderly close after the scripted bytes
    Reset,  // a TCP reset after the scripted bytes
    Hold,   // keep the connection open, silent, until the server stops
};

struct Script {
    bool answers = true;            // false: read the request, then hold the connection in silence
    std::string reply;              // sent once the request is complete
    std::size_t streamedBytes = 0;  // generated body bytes sent after the reply
    Ending ending = Ending::Close;
    std::chrono::milliseconds pause{0};  // when set, streamed bytes go one at a time, this far apart
    bool keepRequests = true;            // false: requests() stays empty (a fuzz loop's millions)
};

enum class Address { Ipv4, Ipv6 };

// A listening TCP socket on the loopback address, port 0 for a free one. The caller closes fd; fd
// is -1 when the address or port cannot be had.
struct LoopbackListener {
    int fd = -1;
    std::uint16_t port = 0;
};
LoopbackListener listenOnLoopback(Address address = Address::Ipv4, std::uint16_t port = 0, int backlog = 16);

// A blocking TCP socket connected to 127.0.0.1 at the port, or -1. The caller closes it.
int connectToLoopback(std::uint16_t port);

// Sends all of bytes on a blocking socket, never raising SIGPIPE; false when the peer went away.
bool sendBlocking(int fd, std::string_view bytes);

class LoopbackServer {
public:
    // Port 0 takes a free port. listening() is false when the address or port cannot be had.
    explicit LoopbackServer(Script script, Address address = Address::Ipv4, std::uint16_t port = 0);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool listening() const { return m_listenFd >= 0; }
    std::uint16_t port() const { return m_port; }
    std::size_t connections() const { return m_connections; }
    std::uint64_t bytesSent() const { return m_bytesSent; }
    std::vector<std::string> requests() const;  // the bytes of each request, in arrival order
    // The scripted bytes for the connections that come after this call.
    void setReply(std::string reply);
    void stop();

    // The byte at a position of the generated body, so that tests can rebuild what was sent.
    static char streamedByte(std::size_t position);

private:
    void serve();
    void handle(int fd);
    bool sendAll(int fd, const char* data, std::size_t length);
    bool sendStream(int fd);
    bool sleepUnlessStopped(std::chrono::milliseconds time);
    bool waitFor(int fd, short events);

    Script m_script;
    int m_listenFd = -1;
    int m_wakePipe[2] = {-1, -1};
    std::uint16_t m_port = 0;
    std::atomic<std::size_t> m_connections{0};
    std::atomic<std::uint64_t> m_bytesSent{0};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};

// The bytes of a whole request received so far, or 0 while it is incomplete: the headers end at the
// first blank line, and a Content-Length then says how many body bytes follow.
std::size_t completeRequestLength(const std::string& received);

}  // namespace nettest
