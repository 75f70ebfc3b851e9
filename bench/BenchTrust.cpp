#include "bench/BenchTrust.h"

#include <curl/curl.h>

#include <fstream>
#include <stdexcept>

std::filesystem::path systemAndBenchAuthorities(const TestAuthority& authority) {
    std::string bundle;
    if (CURL* probe = curl_easy_init()) {
        char* file = nullptr;
        if (curl_easy_getinfo(probe, CURLINFO_CAINFO, &file) == CURLE_OK && file) {
            bundle = file;
        }
        curl_easy_cleanup(probe);
    }
    const std::filesystem::path combined = authority.caFile().parent_path() / "system-and-bench.pem";
    std::ofstream out(combined, std::ios::binary | std::ios::trunc);
    std::ifstream system(bundle, std::ios::binary);
    std::ifstream own(authority.caFile(), std::ios::binary);
    out << system.rdbuf() << '\n' << own.rdbuf();
    if (!out.flush() || bundle.empty()) {
        throw std::runtime_error("cannot write " + combined.string());
    }
    return combined;
}
