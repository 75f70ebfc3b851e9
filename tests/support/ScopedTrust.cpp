#include "tests/support/ScopedTrust.h"

#include "net/TlsShare.h"

#include <memory>

namespace nettest {

void trustOnly(const std::filesystem::path& caFile) {
    using namespace modWININET::detail;
    replaceTlsShare(caFile.empty() ? nullptr : std::make_shared<const TlsShare>(makeTrustStore(caFile.string(), {})));
}

ScopedTrust::ScopedTrust(const std::filesystem::path& caFile) {
    trustOnly(caFile);
}

ScopedTrust::~ScopedTrust() {
    trustOnly({});
}

}  // namespace nettest
