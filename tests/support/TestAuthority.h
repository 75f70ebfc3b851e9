#pragma once
// A certificate authority made for one test run, with the server certificates the TLS tests need:
// good ones, expired ones, ones made out for another name, self-signed ones. Keys are P-256: quick
// to make. Everything is written as PEM files into a fresh temporary folder, removed at the end.
// Throws std::runtime_error when OpenSSL cannot make or write something.

#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct IssuedCertificate {
    std::filesystem::path certificate;  // PEM
    std::filesystem::path key;          // PEM, unencrypted
};

struct CertificateRequest {
    std::vector<std::string> names = {"DNS:localhost", "IP:127.0.0.1", "IP:::1"};  // subjectAltName entries
    std::time_t notBefore = std::time(nullptr) - 3600;
    std::time_t notAfter = std::time(nullptr) + 86400;
    bool selfSigned = false;  // true: signed by its own key, not by the authority
};

// A certificate signed by its own key: an issuer no client trusts.
inline CertificateRequest selfSignedRequest() {
    CertificateRequest request;
    request.selfSigned = true;
    return request;
}

class TestAuthority {
public:
    TestAuthority();
    ~TestAuthority();
    TestAuthority(const TestAuthority&) = delete;
    TestAuthority& operator=(const TestAuthority&) = delete;

    // The authority's own certificate: what a client trusts to accept the certificates it issued.
    const std::filesystem::path& caFile() const { return m_caFile; }
    // A server certificate as asked, stored under stem.
    IssuedCertificate issue(const std::string& stem, const CertificateRequest& request) const;

private:
    struct Keys;
    std::filesystem::path m_folder;
    std::filesystem::path m_caFile;
    std::unique_ptr<Keys> m_keys;
};

// The one authority of this test program, made on first use: making one costs a key and a folder.
const TestAuthority& testAuthority();

// The seconds since the epoch of a UTC day at noon, for a validity that ends on a known date.
std::time_t utcNoon(int year, int month, int day);

// The certificate's SHA-256 fingerprint as the openssl command line gives it ("AB:CD:..."), worked
// out apart from the program's own code; empty when the command fails.
std::string fingerprintByOpenssl(const std::filesystem::path& certificate);
