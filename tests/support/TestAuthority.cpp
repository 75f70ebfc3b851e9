#include "tests/support/TestAuthority.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertFree {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Cert = std::unique_ptr<X509, CertFree>;

void require(bool done, const char* what) {
    if (!done) {
        throw std::runtime_error(std::string("test authority: cannot ") + what);
    }
}

Key newKey() {
    Key key(EVP_EC_gen("P-256"));
    require(key != nullptr, "make a key");
    return key;
}

void addExtension(X509* certificate, X509* issuer, int nid, const std::string& value) {
    X509V3_CTX context;
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
    require(extension != nullptr && X509_add_ext(certificate, extension, -1) == 1, "add an extension");
    X509_EXTENSION_free(extension);
}

Cert newCertificate(const std::string& commonName, EVP_PKEY* key, std::time_t notBefore, std::time_t notAfter) {
    static long serial = 1;
    Cert certificate(X509_new());
    require(certificate != nullptr, "make a certificate");
    X509_set_version(certificate.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), serial++);
    require(ASN1_TIME_set(X509_getm_notBefore(certificate.get()), notBefore) != nullptr &&
                ASN1_TIME_set(X509_getm_notAfter(certificate.get()), notAfter) != nullptr,
            "set the validity");
    X509_NAME* subject = X509_get_subject_name(certificate.get());
    X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(commonName.c_str()),
                               -1, -1, 0);
    require(X509_set_pubkey(certificate.get(), key) == 1, "set the public key");
    return certificate;
}

void sign(X509* certificate, X509* issuer, EVP_PKEY* issuerKey) {
    require(X509_set_issuer_name(certificate, X509_get_subject_name(issuer)) == 1 &&
                X509_sign(certificate, issuerKey, EVP_sha256()) > 0,
            "sign a certificate");
}

template <typename Write>
void writePem(const std::filesystem::path& file, Write write) {
    FILE* out = std::fopen(file.c_str(), "w");
    require(out != nullptr, "open a file");
    const bool written = write(out) == 1;
    require(std::fclose(out) == 0 && written, "write a file");
}

}  // namespace

struct TestAuthority::Keys {
    Key key;
    Cert certificate;
};

std::time_t utcNoon(int year, int month, int day) {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = 12;
    return timegm(&parts);
}

TestAuthority::TestAuthority() : m_keys(std::make_unique<Keys>()) {
    std::string folder = (std::filesystem::temp_directory_path() / "vq-authority-XXXXXX").string();
    require(mkdtemp(folder.data()) != nullptr, "make a temporary folder");
    m_folder = folder;
    m_caFile = m_folder / "authority.pem";
    const std::time_t now = std::time(nullptr);
    m_keys->key = newKey();
    m_keys->certificate =
        newCertificate("Velqor Test Authority", m_keys->key.get(), now - 86400, now + std::time_t{30} * 86400);
    X509* ca = m_keys->certificate.get();
    addExtension(ca, ca, NID_basic_constraints, "critical,CA:TRUE");
    addExtension(ca, ca, NID_key_usage, "critical,keyCertSign,cRLSign");
    addExtension(ca, ca, NID_subject_key_identifier, "hash");
    sign(ca, ca, m_keys->key.get());
    writePem(m_caFile, [ca](FILE* out) { return PEM_write_X509(out, ca); });
}

TestAuthority::~TestAuthority() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

const TestAuthority& testAuthority() {
    static const TestAuthority made;
    return made;
}

IssuedCertificate TestAuthority::issue(const std::string& stem, const CertificateRequest& request) const {
    const Key key = newKey();
    const Cert certificate = newCertificate(stem, key.get(), request.notBefore, request.notAfter);
    X509* issuer = request.selfSigned ? certificate.get() : m_keys->certificate.get();
    EVP_PKEY* issuerKey = request.selfSigned ? key.get() : m_keys->key.get();
    std::string names;
    for (const std::string& name : request.names) {
        names += (names.empty() ? "" : ",") + name;
    }
    if (!names.empty()) {
        addExtension(certificate.get(), issuer, NID_subject_alt_name, names);
    }
    addExtension(certificate.get(), issuer, NID_ext_key_usage, "serverAuth");
    sign(certificate.get(), issuer, issuerKey);
    const IssuedCertificate files{m_folder / (stem + ".pem"), m_folder / (stem + "-key.pem")};
    writePem(files.certificate, [&](FILE* out) { return PEM_write_X509(out, certificate.get()); });
    writePem(files.key,
             [&](FILE* out) { return PEM_write_PrivateKey(out, key.get(), nullptr, nullptr, 0, nullptr, nullptr); });
    return files;
}

std::string fingerprintByOpenssl(const std::filesystem::path& certificate) {
    const std::string command = "openssl x509 -noout -fingerprint -sha256 -in '" + certificate.string() + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    for (char chunk[256]; pipe && std::fgets(chunk, sizeof chunk, pipe.get());) {
        out += chunk;
    }
    const std::size_t equals = out.find('=');
    const std::size_t end = out.find_last_not_of("\r\n");
    return equals == std::string::npos || end <= equals ? "" : out.substr(equals + 1, end - equals);
}
