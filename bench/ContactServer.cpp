#include "bench/ContactServer.h"

#include "bench/ServerConnection.h"

#include "tests/support/LoopbackServer.h"

#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

constexpr std::string_view kFolder = "/vqhttpmail/2/3/4/Contacts";

std::string answer(int status, const char* reason, const std::string& body, const std::string& extra = {}) {
    return "HTTP/1.0 " + std::to_string(status) + ' ' + reason + "\r\nContent-Type: text/xml\r\n" + extra +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// Shaped like a WebDAV server's answer to the client's PROPFIND: the one property it has in a 200
// block, the mail properties it lacks in a 404 block.
std::string listing(int contacts) {
    std::string body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<D:multistatus xmlns:D=\"DAV:\" "
        "xmlns:hm=\"urn:schemas:httpmail:\" xmlns:m=\"urn:schemas:mailheader:\">\n";
    for (int i = 0; i < contacts; ++i) {
        body += "<D:response>\n<D:href>http://127.0.0.1";
        body += kFolder;
        body += "/c" + std::to_string(10000 + i) +
                ".vcf</D:href>\n<D:propstat>\n<D:prop>\n<D:getcontentlength>96</D:getcontentlength>\n"
                "</D:prop>\n<D:status>HTTP/1.1 200 OK</D:status>\n</D:propstat>\n<D:propstat>\n"
                "<D:prop>\n<D:isfolder/>\n<hm:read/>\n<m:hasattachment/>\n<m:to/>\n<m:from/>\n"
                "<m:subject/>\n<m:date/>\n</D:prop>\n<D:status>HTTP/1.1 404 Not Found</D:status>\n"
                "</D:propstat>\n</D:response>\n";
    }
    return answer(207, "Multi-Status", body + "</D:multistatus>\n");
}

// The answer to one request line ("GET /path HTTP/1.0").
std::string reply(const std::string& request, int contacts, const std::string& folderListing) {
    const std::size_t space = request.find(' ');
    const std::size_t end = request.find(' ', space + 1);
    if (space == std::string::npos || end == std::string::npos) {
        return answer(400, "Bad Request", {});
    }
    const std::string verb = request.substr(0, space);
    const std::string path = request.substr(space + 1, end - space - 1);
    if (verb == "PROPFIND" && path == kFolder) {
        return folderListing;
    }
    const std::string prefix = std::string(kFolder) + "/c";
    int number = -1;
    if ((verb == "GET" || verb == "DELETE") && path.starts_with(prefix) && path.ends_with(".vcf")) {
        const char* last = path.data() + path.size() - 4;
        if (std::from_chars(path.data() + prefix.size(), last, number).ptr != last) {
            number = -1;
        }
        number -= 10000;
    }
    if (number < 0 || number >= contacts) {
        return answer(404, "Not Found", {});
    }
    const std::string n = std::to_string(number);
    if (verb == "DELETE") {
        return answer(204, "No Content", {});
    }
    return answer(
        200, "OK",
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Contact [" + n + "]\r\nEMAIL:c" + n + "@example.com\r\nEND:VCARD\r\n",
        "ETag: \"c" + n + "\"\r\n");
}

struct Folder {
    int contacts;
    std::chrono::milliseconds listingDelay;
    std::string listing;
};

void answerOne(ServerConnection& connection, const Folder& folder) {
    std::string received;
    char buffer[16384];
    // The whole request is read before answering, so closing never resets the client.
    while (connection.ok() && nettest::completeRequestLength(received) == 0) {
        const long n = connection.receive(buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        received.append(buffer, static_cast<std::size_t>(n));
    }
    if (nettest::completeRequestLength(received) != 0) {
        if (received.starts_with("PROPFIND")) {
            std::this_thread::sleep_for(folder.listingDelay);
        }
        connection.sendAll(reply(received.substr(0, received.find("\r\n")), folder.contacts, folder.listing));
    }
}

// A TLS handshake waits a round trip for the client: over a slow link one connection at a time would
// time the server, so each TLS connection gets a thread of its own. Plain ones are answered in turn.
[[noreturn]] void serve(int listenFd, const Folder& folder, const std::shared_ptr<ssl_ctx_st>& tls) {
    for (;;) {
        const int fd = accept(listenFd, nullptr, nullptr);
        if (fd < 0) {
            continue;
        }
        if (!tls) {
            ServerConnection connection(fd, nullptr);
            answerOne(connection, folder);
            continue;
        }
        std::thread([fd, &folder, tls] {
            ServerConnection connection(fd, tls.get());
            answerOne(connection, folder);
        }).detach();
    }
}

}  // namespace

ContactServer::ContactServer(int contacts, std::chrono::milliseconds listingDelay,
                             const std::optional<IssuedCertificate>& tls)
    : m_contacts(contacts), m_secure(tls.has_value()) {
    const nettest::LoopbackListener listener = nettest::listenOnLoopback(nettest::Address::Ipv4, 0, 128);
    if (listener.fd < 0) {
        throw std::runtime_error("ContactServer: no loopback port to listen on");
    }
    const int fd = listener.fd;
    m_port = listener.port;
    std::fflush(nullptr);  // the child must not print the parent's buffered output again
    m_pid = fork();
    if (m_pid == 0) {
        const auto context = tls ? serverTlsContext(tls->certificate, tls->key) : nullptr;
        if (tls && !context) {
            _exit(1);
        }
        const Folder folder{contacts, listingDelay, listing(contacts)};
        serve(fd, folder, context);
    }
    close(fd);
    if (m_pid < 0) {
        throw std::runtime_error("ContactServer: fork failed");
    }
}

ContactServer::~ContactServer() {
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
}
