#pragma once
// What the benchmarks trust over TLS: the system's authorities, as a user's program reads them,
// plus the benchmark's own authority, which vouches for its servers. Without the system's ~140
// authorities a benchmark would time a trust store no user has.

#include "tests/support/TestAuthority.h"

#include <filesystem>

// One PEM file beside the authority's own: libcurl's default bundle, then the authority.
// Throws std::runtime_error when it cannot be written.
std::filesystem::path systemAndBenchAuthorities(const TestAuthority& authority);
