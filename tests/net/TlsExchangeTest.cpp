// exchange() over TLS: checked as a browser checks a server, each refusal named in plain words
// with the certificate a person can compare, and the request's bytes the same as without TLS.

#include "net/HttpResult.h"
#include "net/modWININET.h"
#include "tests/support/HttpMailServer.h"
#include "tests/support/TestAuthority.h"

#include <gtest/gtest.h>

using modWININET::Failure;
using modWININET::HttpResult;

namespace {

modWININET::Limits handshakeLimits() {
    modWININET::Limits limits;
    limits.connectTimeout = std::chrono::seconds(5);
    limits.idleTimeout = std::chrono::seconds(5);
    return limits;
}

// Short time-outs, and trust in the authorities of caFile only (empty: the system's store).
modWININET::Transport trusting(const std::filesystem::path& caFile) {
    return modWININET::Transport(handshakeLimits(), caFile);
}

HttpMailServerOptions tlsWith(const IssuedCertificate& issued) {
    HttpMailServerOptions options;
    options.tlsCertificate = issued.certificate;
    options.tlsKey = issued.key;
    return options;
}

HttpResult propfind(const modWININET::Transport& transport, const std::u16string& server, std::int32_t port) {
    return transport({server,
                      port,
                      "PROPFIND",
                      u"/vqhttpmail/2/3/4/Contacts",
                      "<x/>",
                      u"Authorization: Basic ZGVtbzpkZW1v\r\nDepth: 1\r\n",
                      {}});
}

}  // namespace

TEST(TlsExchange, ReachesAServerItsAuthorityVouchesFor) {
    HttpMailServerOptions options = tlsWith(testAuthority().issue("good", {}));
    options.keepRawRequests = true;
    HttpMailServer server(options);
    const modWININET::Transport transport = trusting(testAuthority().caFile());
    struct Row {
        const char* why;
        std::u16string text;
        std::string serverName;  // what the handshake names (SNI); "-" for none
    };
    const Row rows[] = {
        {"an IPv4 address, which SNI never names", u"https://127.0.0.1", "-"},
        {"a host name goes out as SNI", u"HTTPS://localhost/", "localhost"},
        {"the scheme in mixed case", u"hTTpS://127.0.0.1/", "-"},
    };
    std::vector<std::string> expectedNames;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const HttpResult result = propfind(transport, row.text, server.port());
        EXPECT_EQ(result.failure, Failure::None) << result.reason;
        EXPECT_EQ(result.status, 207);
        EXPECT_NE(result.body.find("D:multistatus"), std::string::npos);
        expectedNames.push_back(row.serverName);
    }
    EXPECT_EQ(server.requests("PROPFIND").size(), 3u);
    EXPECT_EQ(server.serverNames(), expectedNames);
}

TEST(TlsExchange, RefusesEachBadCertificateWithItsReason) {
    CertificateRequest expired;
    expired.notBefore = utcNoon(2024, 1, 1);
    expired.notAfter = utcNoon(2025, 1, 31);
    CertificateRequest elsewhere;
    elsewhere.names = {"DNS:mail.example.org", "DNS:www.example.org"};
    struct Row {
        const char* why;
        IssuedCertificate issued;
        std::filesystem::path trusted;
        std::string reason;
    };
    const Row rows[] = {
        {"a self-signed certificate", testAuthority().issue("self", selfSignedRequest()), testAuthority().caFile(),
         "not issued by an authority this computer trusts"},
        {"our authority is in no system store", testAuthority().issue("unknown", {}), "",
         "not issued by an authority this computer trusts"},
        {"an expired certificate names its last day", testAuthority().issue("expired", expired),
         testAuthority().caFile(), "expired on 2025-01-31"},
        {"a certificate for other names lists them", testAuthority().issue("elsewhere", elsewhere),
         testAuthority().caFile(), "made out for mail.example.org, www.example.org, not 127.0.0.1"},
        {"a trust store that is not there trusts no one", testAuthority().issue("no-store", {}),
         testAuthority().caFile().parent_path() / "missing.pem", "not issued by an authority this computer trusts"},
        {"a folder where the trust store should be", testAuthority().issue("folder-store", {}),
         testAuthority().caFile().parent_path(), "not issued by an authority this computer trusts"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServer server(tlsWith(row.issued));
        const modWININET::Transport transport = trusting(row.trusted);
        const HttpResult result = propfind(transport, u"https://127.0.0.1", server.port());
        EXPECT_EQ(result.failure, Failure::Certificate);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.reason, row.reason);
        ASSERT_TRUE(result.certificate.has_value());
        EXPECT_EQ(result.certificate->sha256, fingerprintByOpenssl(row.issued.certificate));
        EXPECT_TRUE(server.requestLog().empty()) << "no request goes to a refused server";
    }
}

TEST(TlsExchange, NamesAFailedHandshake) {
    HttpMailServer plain;  // speaks HTTP where TLS was asked for
    const modWININET::Transport transport = trusting(testAuthority().caFile());
    const HttpResult result = propfind(transport, u"https://127.0.0.1", plain.port());
    EXPECT_EQ(result.failure, Failure::TlsHandshake);
    EXPECT_TRUE(result.reason.starts_with("the TLS handshake failed (")) << result.reason;
    EXPECT_FALSE(result.certificate.has_value());
}

TEST(TlsExchange, SendsTheSameRequestBytesAsWithoutTls) {
    HttpMailServerOptions plainOptions;
    plainOptions.keepRawRequests = true;
    HttpMailServerOptions tlsOptions = tlsWith(testAuthority().issue("wire", {}));
    tlsOptions.keepRawRequests = true;
    HttpMailServer plain(plainOptions);
    HttpMailServer secure(tlsOptions);
    const modWININET::Transport transport = trusting(testAuthority().caFile());
    const modWININET::HttpCall post{u"",
                                    0,
                                    "POST",
                                    u"/vqhttpmail/2/3/4/Contacts",
                                    std::string("BEGIN:VCARD\0\xFF", 13),
                                    u"Authorization: Basic ZGVtbzpkZW1v\r\nX-Note: \u00e9\r\n",
                                    {}};
    modWININET::HttpCall toPlain = post;
    toPlain.server = u"127.0.0.1";
    toPlain.port = plain.port();
    modWININET::HttpCall toSecure = post;
    toSecure.server = u"https://127.0.0.1/";
    toSecure.port = secure.port();
    EXPECT_EQ(transport(toPlain).status, 201);
    EXPECT_EQ(transport(toSecure).status, 201);
    const auto plainBytes = plain.rawRequests();
    const auto secureBytes = secure.rawRequests();
    ASSERT_EQ(plainBytes.size(), 1u);
    ASSERT_EQ(secureBytes.size(), 1u);
    // Only the port in Host may differ: each server has its own.
    const auto withPort = [](std::string bytes, int from) {
        const std::string host = "\r\nHost: 127.0.0.1:";
        const std::size_t at = bytes.find(host + std::to_string(from) + "\r\n");
        return at == std::string::npos ? bytes : bytes.replace(at + host.size(), std::to_string(from).size(), "PORT");
    };
    EXPECT_NE(withPort(plainBytes[0], plain.port()), plainBytes[0]) << "the Host line names the port";
    EXPECT_EQ(withPort(secureBytes[0], secure.port()), withPort(plainBytes[0], plain.port()));
}

TEST(TlsExchange, ResumesASessionOnlyWithTheServerThatIssuedIt) {
    HttpMailServerOptions options = tlsWith(testAuthority().issue("resumed", {}));
    options.keepRawRequests = true;
    HttpMailServer first(options);
    HttpMailServer second(options);
    // A client offering first's session to second would be hung up on, and fail.
    second.setFault("tls-hang-up-on-resume");
    const modWININET::Transport transport = trusting(testAuthority().caFile());
    EXPECT_EQ(propfind(transport, u"https://127.0.0.1", first.port()).status, 207);
    EXPECT_EQ(propfind(transport, u"https://127.0.0.1", first.port()).status, 207);
    EXPECT_EQ(propfind(transport, u"https://127.0.0.1", second.port()).status, 207);
    EXPECT_EQ(first.handshakes(), (std::vector<std::string>{"full", "resumed"}));
    EXPECT_EQ(second.handshakes(), (std::vector<std::string>{"full"}));
}

TEST(TlsExchange, AServerWithANewCertificateIsVerifiedAgain) {
    HttpMailServerOptions options = tlsWith(testAuthority().issue("before", {}));
    options.keepRawRequests = true;
    HttpMailServer server(options);
    const modWININET::Transport transport = trusting(testAuthority().caFile());
    ASSERT_EQ(propfind(transport, u"https://127.0.0.1", server.port()).status, 207);
    const IssuedCertificate replaced = testAuthority().issue("after", selfSignedRequest());
    server.useCertificate(replaced.certificate, replaced.key);
    const HttpResult result = propfind(transport, u"https://127.0.0.1", server.port());
    EXPECT_EQ(result.failure, Failure::Certificate);
    EXPECT_EQ(result.reason, "not issued by an authority this computer trusts");
    ASSERT_TRUE(result.certificate.has_value());
    EXPECT_EQ(result.certificate->sha256, fingerprintByOpenssl(replaced.certificate));
    EXPECT_EQ(server.requests("PROPFIND").size(), 1u) << "nothing goes to the server after the change";
}

TEST(TlsExchange, AServerEndingTheHandshakeOverItsSessionGetsAFullOne) {
    HttpMailServerOptions options = tlsWith(testAuthority().issue("hang-up", {}));
    options.keepRawRequests = true;
    HttpMailServer server(options);
    const modWININET::Transport transport = trusting(testAuthority().caFile());
    ASSERT_EQ(propfind(transport, u"https://127.0.0.1", server.port()).status, 207);
    server.setFault("tls-hang-up-on-resume");
    const HttpResult result = propfind(transport, u"https://127.0.0.1", server.port());
    EXPECT_EQ(result.failure, Failure::None) << result.reason;
    EXPECT_EQ(result.status, 207);
    EXPECT_EQ(server.handshakes(), (std::vector<std::string>{"full", "hung up", "full"}));
    EXPECT_EQ(server.requests("PROPFIND").size(), 2u) << "the request went out once";
}
