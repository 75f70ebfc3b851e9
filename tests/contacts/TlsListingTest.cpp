// The listing over TLS against tools/httpmail-server, and what the user reads when the program
// refuses the server's certificate: a message naming the server, the reason and the fingerprint,
// then the login again.

#include "contacts/ContactClient.h"
#include "net/modWININET.h"
#include "tests/support/HttpMailServer.h"
#include "tests/support/ScreenRecorder.h"
#include "tests/support/TestAuthority.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace {

modWININET::Limits shortLimits() {
    modWININET::Limits limits;
    limits.connectTimeout = std::chrono::seconds(5);
    limits.idleTimeout = std::chrono::seconds(5);
    return limits;
}

// Short time-outs, and trust in the test authority only.
modWININET::Transport trustingTheTestAuthority() {
    return modWININET::Transport(shortLimits(), testAuthority().caFile());
}

HttpMailServerOptions serving(const std::optional<IssuedCertificate>& issued) {
    HttpMailServerOptions options;
    options.seedSamples = true;
    if (issued) {
        options.tlsCertificate = issued->certificate;
        options.tlsKey = issued->key;
    }
    return options;
}

std::u16string wide(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

}  // namespace

TEST(TlsListing, ListsTheSameContactsAsPlainHttp) {
    const modWININET::Transport trusting = trustingTheTestAuthority();
    HttpMailServer plain(serving(std::nullopt));
    HttpMailServer secure(serving(testAuthority().issue("listing", {})));
    ScreenRecorder overHttp;
    ScreenRecorder overTls;
    EXPECT_EQ(ContactClient(overHttp, {u"127.0.0.1", plain.port(), u"Basic ZGVtbzpkZW1v"}, trusting).ListContacts(),
              ListingResult::Listed);
    EXPECT_EQ(
        ContactClient(overTls, {u"https://localhost/", secure.port(), u"Basic ZGVtbzpkZW1v"}, trusting).ListContacts(),
        ListingResult::Listed);
    ASSERT_FALSE(overHttp.lines.empty());
    EXPECT_EQ(overTls.lines, overHttp.lines);
    EXPECT_EQ(overTls.captions.back(), overHttp.captions.back());
    EXPECT_TRUE(overTls.messages.empty());
}

TEST(TlsListing, ARefusedServerGivesItsReasonThenTheLoginAgain) {
    const modWININET::Transport trusting = trustingTheTestAuthority();
    CertificateRequest expired;
    expired.notBefore = utcNoon(2024, 2, 1);
    expired.notAfter = utcNoon(2025, 1, 31);
    CertificateRequest elsewhere;
    elsewhere.names = {"DNS:mail.example.org"};
    struct Row {
        const char* why;
        std::optional<IssuedCertificate> issued;  // none: plain HTTP where TLS was asked for
        std::string reason;
    };
    const Row rows[] = {
        {"an issuer nobody trusts", testAuthority().issue("self-signed", selfSignedRequest()),
         "not issued by an authority this computer trusts"},
        {"an expired certificate", testAuthority().issue("expired", expired), "expired on 2025-01-31"},
        {"a certificate for another server", testAuthority().issue("elsewhere", elsewhere),
         "made out for mail.example.org, not 127.0.0.1"},
        {"no TLS on the port", std::nullopt, "the TLS handshake failed ("},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServer server(serving(row.issued));
        ScreenRecorder screen;
        const LoginState login{u"https://127.0.0.1", server.port(), u"Basic ZGVtbzpkZW1v"};
        EXPECT_EQ(ContactClient(screen, login, trusting).ListContacts(), ListingResult::Rejected);
        ASSERT_EQ(screen.messages.size(), 1u);
        const Message& shown = screen.messages[0];
        EXPECT_EQ(shown.title, u"Velqor Personal Contact Manager");
        EXPECT_EQ(shown.style, MessageStyle::Information);
        const std::u16string opening = u"The secure connection to https://127.0.0.1 on port " +
                                       wide(std::to_string(server.port())) + u" was refused: " + wide(row.reason);
        if (row.issued) {
            EXPECT_EQ(shown.prompt, opening + u".\n\nThe server's certificate has the SHA-256 fingerprint\n" +
                                        wide(fingerprintByOpenssl(row.issued->certificate)));
        } else {
            EXPECT_TRUE(shown.prompt.starts_with(opening)) << std::string(shown.prompt.begin(), shown.prompt.end());
            EXPECT_TRUE(shown.prompt.ends_with(u").")) << "the handshake's own words, then the full stop";
        }
        EXPECT_TRUE(screen.lines.empty());
        EXPECT_EQ(screen.shows, 0) << "the window does not open over a refused server";
        EXPECT_TRUE(server.requests("PROPFIND").empty());
    }
}

TEST(TlsListing, ServerTextWithAPortIsInvalidAsAlways) {
    HttpMailServer server(serving(std::nullopt));
    ScreenRecorder screen;
    const std::u16string withPort = u"http://127.0.0.1:" + wide(std::to_string(server.port()));
    EXPECT_EQ(ContactClient(screen, {withPort, server.port(), u"Basic ZGVtbzpkZW1v"}).ListContacts(),
              ListingResult::ProgramEnded);
    EXPECT_EQ(screen.messages,
              (std::vector<Message>{{u"Server does not seem to support remote contact administration or does not "
                                     u"have any contact defined. You may have also specified an invalid password.",
                                     MessageStyle::Plain, u""}}));
    EXPECT_TRUE(server.requestLog().empty());
}

// The server changes its certificate once the first line is in: the fetches after that meet it.
struct ChangingServerScreen : ScreenRecorder {
    std::function<void()> change;
    void appendContact(const std::u16string& line, const std::u16string& file) override {
        if (lines.empty()) {
            change();
        }
        ScreenRecorder::appendContact(line, file);
    }
};

TEST(TlsListing, ACertificateChangedMidListingIsRefusedWithTheLinesSoFarKept) {
    constexpr int kContacts = 60;  // far more than are fetched ahead of the first line
    const modWININET::Transport trusting = trustingTheTestAuthority();
    HttpMailServer server(serving(testAuthority().issue("mid-listing", {})));
    for (int i = 0; i < kContacts; ++i) {
        std::ofstream(server.folder() / ("c" + std::to_string(100 + i) + ".vcf"), std::ios::binary)
            << "BEGIN:VCARD\r\nFN:Person " << i << "\r\nEND:VCARD\r\n";
    }
    const IssuedCertificate replaced = testAuthority().issue("replaced", selfSignedRequest());
    ChangingServerScreen screen;
    screen.change = [&] {
        server.useCertificate(replaced.certificate, replaced.key);
    };
    const LoginState login{u"https://127.0.0.1", server.port(), u"Basic ZGVtbzpkZW1v"};
    EXPECT_EQ(ContactClient(screen, login, trusting).ListContacts(), ListingResult::Rejected);
    ASSERT_FALSE(screen.lines.empty());
    EXPECT_LT(screen.lines.size(), std::size_t(kContacts));
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].prompt,
              u"The secure connection to https://127.0.0.1 on port " + wide(std::to_string(server.port())) +
                  u" was refused: not issued by an authority this computer trusts.\n\nThe server's certificate has "
                  u"the SHA-256 fingerprint\n" +
                  wide(fingerprintByOpenssl(replaced.certificate)));
    EXPECT_EQ(screen.messages[0].style, MessageStyle::Information);
    EXPECT_EQ(screen.captions.back(), u"Velqor Personal Contacts Manager");
}
