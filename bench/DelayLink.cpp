#include "bench/DelayLink.h"

#include "tests/support/LoopbackServer.h"

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <list>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Bytes read from one side, due on the other; empty bytes with `end` stand for the sender's close.
struct Chunk {
    Clock::time_point due;
    std::string bytes;
    bool end = false;
};

// One direction of a relayed connection.
struct Flow {
    int from = -1;
    int to = -1;
    bool reading = true;
    bool ended = false;         // the close has been passed on
    Clock::time_point opens{};  // nothing goes through before
    std::deque<Chunk> due;
};

struct Relay {
    Flow request;   // client to server, from a round trip after the connection came
    Flow response;  // server to client
};

// Reads what is there into the flow, due half a round trip after it may go.
void readInto(Flow& flow, Clock::time_point now, std::chrono::milliseconds oneWay) {
    const Clock::time_point due = std::max(now, flow.opens) + oneWay;
    char buffer[65536];
    const ssize_t n = recv(flow.from, buffer, sizeof buffer, 0);
    if (n > 0) {
        flow.due.push_back({due, std::string(buffer, static_cast<std::size_t>(n))});
        return;
    }
    flow.reading = false;
    flow.due.push_back({due, {}, true});
}

void deliver(Flow& flow, Clock::time_point now) {
    while (!flow.due.empty() && flow.due.front().due <= now) {
        if (flow.due.front().end) {
            shutdown(flow.to, SHUT_WR);
            flow.ended = true;
        } else {
            nettest::sendBlocking(flow.to, flow.due.front().bytes);
        }
        flow.due.pop_front();
    }
}

int pollTimeout(const std::list<Relay>& relays, Clock::time_point now) {
    auto next = Clock::time_point::max();
    for (const Relay& relay : relays) {
        for (const Flow* flow : {&relay.request, &relay.response}) {
            if (!flow->due.empty()) {
                next = std::min(next, flow->due.front().due);
            }
        }
    }
    if (next == Clock::time_point::max()) {
        return -1;
    }
    return static_cast<int>(
        std::chrono::ceil<std::chrono::milliseconds>(std::max(next - now, Clock::duration{})).count());
}

[[noreturn]] void relay(int listenFd, std::uint16_t serverPort, std::chrono::milliseconds roundTrip) {
    const auto oneWay = roundTrip / 2;
    std::list<Relay> relays;
    std::vector<pollfd> fds;
    std::vector<Flow*> readers;
    for (;;) {
        fds.assign(1, {listenFd, POLLIN, 0});
        readers.assign(1, nullptr);
        for (Relay& r : relays) {
            for (Flow* flow : {&r.request, &r.response}) {
                if (flow->reading) {
                    fds.push_back({flow->from, POLLIN, 0});
                    readers.push_back(flow);
                }
            }
        }
        poll(fds.data(), fds.size(), pollTimeout(relays, Clock::now()));
        const auto now = Clock::now();
        if (fds[0].revents & POLLIN) {
            const int client = accept(listenFd, nullptr, nullptr);
            const int server = client < 0 ? -1 : nettest::connectToLoopback(serverPort);
            if (server >= 0) {
                Relay& added = relays.emplace_back();
                added.request.from = added.response.to = client;
                added.request.to = added.response.from = server;
                added.request.opens = now + roundTrip;
            } else if (client >= 0) {
                close(client);
            }
        }
        for (std::size_t i = 1; i < fds.size(); ++i) {
            if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) {
                readInto(*readers[i], now, oneWay);
            }
        }
        for (auto it = relays.begin(); it != relays.end();) {
            deliver(it->request, now);
            deliver(it->response, now);
            if (it->request.ended && it->response.ended) {
                close(it->request.from);
                close(it->response.from);
                it = relays.erase(it);
            } else {
                ++it;
            }
        }
    }
}

}  // namespace

DelayLink::DelayLink(std::int32_t serverPort, std::chrono::milliseconds roundTrip) {
    const nettest::LoopbackListener listener = nettest::listenOnLoopback(nettest::Address::Ipv4, 0, 128);
    if (listener.fd < 0) {
        throw std::runtime_error("DelayLink: no loopback port to listen on");
    }
    m_port = listener.port;
    std::fflush(nullptr);  // the child must not print the parent's buffered output again
    m_pid = fork();
    if (m_pid == 0) {
        relay(listener.fd, static_cast<std::uint16_t>(serverPort), roundTrip);
    }
    close(listener.fd);
    if (m_pid < 0) {
        throw std::runtime_error("DelayLink: fork failed");
    }
}

DelayLink::~DelayLink() {
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
}
