#pragma once
// Makes every TLS connection that starts in this process trust exactly the authorities of one PEM
// file (empty path: the system's store again), and puts the system's store back at the end.
// Sessions resumed before are forgotten both ways: they were verified under another store.

#include <filesystem>

namespace nettest {

class ScopedTrust {
public:
    explicit ScopedTrust(const std::filesystem::path& caFile);
    ~ScopedTrust();
    ScopedTrust(const ScopedTrust&) = delete;
    ScopedTrust& operator=(const ScopedTrust&) = delete;
};

// As ScopedTrust, for a whole program (a benchmark, a test-only build of a command).
void trustOnly(const std::filesystem::path& caFile);

}  // namespace nettest
