#pragma once
// A fast contact folder server on 127.0.0.1 for the benchmarks, in a child process of its own so
// that its memory never counts as the client's. It answers the PROPFIND of the contact folder with
// `contacts` hrefs (c10000.vcf, c10001.vcf, ...) and the GET of each with a small vCard whose name
// is "Contact [i]", with a strong ETag; a DELETE of one gets 204 and changes nothing, so each run
// deletes the same folder; anything else gets 404. HTTP/1.0, one request per connection, no other work:
// the client's own cost is what shows. With a certificate it speaks TLS only, and resumes the
// sessions it hands out. Create it before any thread starts (it forks).

#include "tests/support/TestAuthority.h"

#include <sys/types.h>
#include <chrono>
#include <cstdint>
#include <optional>

class ContactServer {
public:
    // Throws std::runtime_error when no loopback port can be had or the child cannot start.
    // listingDelay: how long the server works out the folder's listing before it answers it.
    explicit ContactServer(int contacts, std::chrono::milliseconds listingDelay = {},
                           const std::optional<IssuedCertificate>& tls = std::nullopt);
    ~ContactServer();  // stops and reaps the child
    ContactServer(const ContactServer&) = delete;
    ContactServer& operator=(const ContactServer&) = delete;

    std::int32_t port() const { return m_port; }
    int contacts() const { return m_contacts; }
    bool secure() const { return m_secure; }

private:
    int m_contacts;
    bool m_secure;
    std::int32_t m_port = 0;
    pid_t m_pid = -1;
};
