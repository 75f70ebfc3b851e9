#include "net/CertificateFacts.h"

#include "codec/AsciiText.h"

#include <openssl/evp.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>

#include <array>
#include <ctime>
#include <memory>

namespace modWININET::detail {
namespace {

std::string fingerprint(X509* certificate) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (X509_digest(certificate, EVP_sha256(), digest.data(), &length) != 1) {
        return {};
    }
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        if (i > 0) {
            text += ':';
        }
        text += ascii::hexDigit(digest[i] >> 4);
        text += ascii::hexDigit(digest[i]);
    }
    return text;
}

std::string addressText(const ASN1_OCTET_STRING* address) {
    std::array<char, INET6_ADDRSTRLEN> text{};
    const int family = address->length == 4 ? AF_INET : address->length == 16 ? AF_INET6 : -1;
    if (family < 0 || !inet_ntop(family, address->data, text.data(), text.size())) {
        return {};
    }
    return text.data();
}

std::string asText(const ASN1_STRING* value) {
    return std::string(reinterpret_cast<const char*>(ASN1_STRING_get0_data(value)),
                       std::size_t(ASN1_STRING_length(value)));
}

struct NamesFree {
    void operator()(GENERAL_NAMES* names) const { GENERAL_NAMES_free(names); }
};

std::vector<std::string> alternativeNames(X509* certificate) {
    std::vector<std::string> names;
    const std::unique_ptr<GENERAL_NAMES, NamesFree> found(
        static_cast<GENERAL_NAMES*>(X509_get_ext_d2i(certificate, NID_subject_alt_name, nullptr, nullptr)));
    for (int i = 0; found && i < sk_GENERAL_NAME_num(found.get()); ++i) {
        const GENERAL_NAME* name = sk_GENERAL_NAME_value(found.get(), i);
        std::string text = name->type == GEN_DNS     ? asText(name->d.dNSName)
                           : name->type == GEN_IPADD ? addressText(name->d.iPAddress)
                                                     : std::string();
        if (!text.empty()) {
            names.push_back(std::move(text));
        }
    }
    return names;
}

// A certificate without alternative names names its server in the subject's common name, as old
// ones do; libcurl falls back to it the same way.
std::vector<std::string> namesOf(X509* certificate) {
    std::vector<std::string> names = alternativeNames(certificate);
    const X509_NAME* subject = X509_get_subject_name(certificate);
    const int at = subject ? X509_NAME_get_index_by_NID(subject, NID_commonName, -1) : -1;
    if (names.empty() && at >= 0) {
        names.push_back(asText(X509_NAME_ENTRY_get_data(X509_NAME_get_entry(subject, at))));
    }
    return names;
}

std::string dayOf(const ASN1_TIME* time) {
    std::tm parts{};
    std::array<char, 16> text{};
    if (!time || ASN1_TIME_to_tm(time, &parts) != 1 ||
        std::strftime(text.data(), text.size(), "%Y-%m-%d", &parts) == 0) {
        return {};
    }
    return text.data();
}

}  // namespace

PeerCertificate certificateFacts(x509_st* certificate) {
    return {fingerprint(certificate), namesOf(certificate), dayOf(X509_get0_notAfter(certificate))};
}

bool isMadeOutFor(x509_st* certificate, const std::string& host) {
    if (X509_check_ip_asc(certificate, host.c_str(), 0) == 1) {
        return true;
    }
    return X509_check_host(certificate, host.data(), host.size(), X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS, nullptr) == 1;
}

}  // namespace modWININET::detail
