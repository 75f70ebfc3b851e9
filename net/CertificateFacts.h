#pragma once
// What a person checks on a server's certificate, read out of OpenSSL's form of it.

#include "net/HttpResult.h"

#include <string>

struct x509_st;

namespace modWININET::detail {

// The SHA-256 fingerprint, the names it is made out for (its subject alternative names, else its
// common name) and the last day it is valid ("2025-01-31", UTC). Never fails: a part that cannot
// be read is left empty.
PeerCertificate certificateFacts(x509_st* certificate);

// Whether the certificate is made out for host: a DNS name (wildcards as browsers match them) or
// an IP address, as host is written.
bool isMadeOutFor(x509_st* certificate, const std::string& host);

}  // namespace modWININET::detail
