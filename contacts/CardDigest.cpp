#include "contacts/CardDigest.h"

#include "net/HttpResult.h"

#include <openssl/evp.h>

#include <algorithm>
#include <memory>
#include <set>

namespace {

struct ContextDeleter {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

// Feeds SHA-256 and hands out the first bytes of its sum. A context that cannot be had (out of
// memory) gives the digest of nothing fed, the same for every card: copies are then over-found,
// never a contact taken for its changed self, as the ETag or a fresh GET still guards a delete.
class Sha256 {
public:
    Sha256()
        : m_context(EVP_MD_CTX_new()),
          m_ok(m_context && EVP_DigestInit_ex(m_context.get(), EVP_sha256(), nullptr) == 1) {}
    void add(std::string_view bytes) {
        m_ok = m_ok && EVP_DigestUpdate(m_context.get(), bytes.data(), bytes.size()) == 1;
    }
    CardDigest sum() {
        std::array<unsigned char, EVP_MAX_MD_SIZE> full{};
        unsigned int length = 0;
        CardDigest digest{};
        if (m_ok && EVP_DigestFinal_ex(m_context.get(), full.data(), &length) == 1 && length >= digest.size()) {
            std::copy_n(full.begin(), digest.size(), digest.begin());
        }
        return digest;
    }

private:
    std::unique_ptr<EVP_MD_CTX, ContextDeleter> m_context;
    bool m_ok = false;
};

bool blankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

CardDigest exactDigest(std::string_view bytes) {
    Sha256 sha;
    sha.add(bytes);
    return sha.sum();
}

CardDigest copyDigest(std::string_view bytes) {
    Sha256 sha;
    std::vector<std::string_view> blanksHeld;  // since the last line with text: kept only if text follows
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
        const std::string_view line = bytes.substr(at, end - at);
        at = end;
        if (at < bytes.size()) {
            at += bytes.compare(at, 2, "\r\n") == 0 ? 2 : 1;
        }
        if (blankLine(line)) {
            blanksHeld.push_back(line);
            continue;
        }
        for (const std::string_view blank : blanksHeld) {
            sha.add(blank);
            sha.add("\n");
        }
        blanksHeld.clear();
        sha.add(line);
        sha.add("\n");
    }
    return sha.sum();
}

std::vector<std::size_t> laterCopies(const std::vector<std::optional<CardDigest>>& digests) {
    std::set<CardDigest> seen;
    std::vector<std::size_t> copies;
    for (std::size_t i = 0; i < digests.size(); ++i) {
        if (digests[i] && !seen.insert(*digests[i]).second) {
            copies.push_back(i);
        }
    }
    return copies;
}

CardFacts cardFacts(const modWININET::HttpResult& get) {
    if (!get.succeeded()) {
        return {};
    }
    return {get.etag, true, exactDigest(get.body), copyDigest(get.body)};
}
