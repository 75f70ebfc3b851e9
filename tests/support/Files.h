#pragma once
// Reading back what a test wrote or the program stored.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// The whole file, byte for byte; empty when it cannot be read.
inline std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
