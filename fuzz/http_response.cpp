// HttpRequest's handling of any bytes a server sends back. A loopback server replays the fuzzed
// bytes as the whole answer and closes; the routine must return one of its three forms, and a body
// only when a status below 300 came with it.
#include "fuzz/FuzzInput.h"
#include "net/modWININET.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace {

class ReplayServer {
public:
    ReplayServer() {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(m_listener, 8);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        std::thread([this] { serve(); }).detach();
    }

    int port() const { return m_port; }

    void setAnswer(std::string answer) {
        std::lock_guard lock(m_mutex);
        m_answer = std::move(answer);
    }

private:
    void serve() {
        for (;;) {
            const int client = ::accept(m_listener, nullptr, nullptr);
            if (client < 0) continue;
            readRequest(client);
            std::string answer;
            {
                std::lock_guard lock(m_mutex);
                answer = m_answer;
            }
            std::size_t sent = 0;
            while (sent < answer.size()) {
                const ssize_t n = ::send(client, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) break;
                sent += static_cast<std::size_t>(n);
            }
            ::shutdown(client, SHUT_WR);
            ::close(client);
        }
    }

    // The requests here are small GETs: the head ends the request.
    static void readRequest(int client) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) return;
            request.append(buffer, static_cast<std::size_t>(n));
        }
    }

    int m_listener = -1;
    int m_port = 0;
    std::mutex m_mutex;
    std::string m_answer;
};

ReplayServer& server() {
    static ReplayServer instance;
    static const bool limited = [] {
        modWININET::Limits limits;
        limits.connectTimeout = std::chrono::milliseconds(2000);
        limits.idleTimeout = std::chrono::milliseconds(2000);
        limits.maxBodyBytes = std::size_t{1} << 20;
        modWININET::setLimits(limits);
        return true;
    }();
    (void)limited;
    return instance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    ReplayServer& replay = server();
    replay.setAnswer(input.takeBytes());
    const std::u16string result =
        modWININET::HttpRequest(u"127.0.0.1", replay.port(), u"GET", u"vqhttpmail/2/3/4/Contacts/a.vcf", u"", u"");
    if (result.starts_with(u"Error:")) {
        const std::u16string code = result.substr(6);
        FUZZ_CHECK(code.size() == 3);
        FUZZ_CHECK(code.find_first_not_of(u"0123456789") == std::u16string::npos);
        FUZZ_CHECK(code >= u"300");
    }
    FUZZ_CHECK(result.size() <= (std::size_t{1} << 20));
    return 0;
}
