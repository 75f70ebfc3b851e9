// What a person is told about a server's certificate, read from certificates made for the test.

#include "net/CertificateFacts.h"
#include "tests/support/TestAuthority.h"

#include <gtest/gtest.h>

#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cstdio>
#include <memory>

using modWININET::detail::certificateFacts;
using modWININET::detail::isMadeOutFor;

namespace {

struct CertFree {
    void operator()(X509* certificate) const { X509_free(certificate); }
};

std::unique_ptr<X509, CertFree> load(const std::filesystem::path& file) {
    std::unique_ptr<FILE, int (*)(FILE*)> in(std::fopen(file.c_str(), "r"), std::fclose);
    return std::unique_ptr<X509, CertFree>(in ? PEM_read_X509(in.get(), nullptr, nullptr, nullptr) : nullptr);
}

}  // namespace

TEST(CertificateFacts, NamesEachNameAsWrittenAndTheLastDay) {
    struct Row {
        const char* why;
        std::vector<std::string> names;
        std::vector<std::string> shown;
    };
    const Row rows[] = {
        {"DNS names in their order",
         {"DNS:mail.example.org", "DNS:*.example.org"},
         {"mail.example.org", "*.example.org"}},
        {"IPv4 and IPv6 addresses as people write them",
         {"IP:192.0.2.7", "IP:2001:db8:0:0:0:0:0:7"},
         {"192.0.2.7", "2001:db8::7"}},
        {"no alternative names: the common name", {}, {"named-by-cn"}},
        {"other kinds of names are left out", {"email:admin@example.org", "DNS:a.example"}, {"a.example"}},
    };
    CertificateRequest request;
    request.notAfter = utcNoon(2031, 12, 31);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        request.names = row.names;
        const IssuedCertificate issued = testAuthority().issue("named-by-cn", request);
        const auto certificate = load(issued.certificate);
        ASSERT_NE(certificate, nullptr);
        const modWININET::PeerCertificate facts = certificateFacts(certificate.get());
        EXPECT_EQ(facts.names, row.shown);
        EXPECT_EQ(facts.notAfter, "2031-12-31");
        EXPECT_EQ(facts.sha256, fingerprintByOpenssl(issued.certificate));
    }
}

TEST(CertificateFacts, MatchesAHostAsABrowserDoes) {
    CertificateRequest request;
    request.names = {"DNS:*.example.org", "DNS:mail.example.net", "IP:::1", "IP:192.0.2.7"};
    const auto certificate = load(testAuthority().issue("matching", request).certificate);
    ASSERT_NE(certificate, nullptr);
    struct Row {
        const char* why;
        std::string host;
        bool matches;
    };
    const Row rows[] = {
        {"a wildcard covers one label", "mail.example.org", true},
        {"a wildcard covers no bare domain", "example.org", false},
        {"a wildcard covers no two labels", "a.mail.example.org", false},
        {"DNS names match in any letter case", "MAIL.Example.NET", true},
        {"an IPv6 address however it is written", "0:0:0:0:0:0:0:1", true},
        {"an IPv4 address", "192.0.2.7", true},
        {"an address is no DNS name", "192.0.2.8", false},
        {"the common name does not count beside alternative names", "matching", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(isMadeOutFor(certificate.get(), row.host), row.matches);
    }
}
