#pragma once
// Where the project's sources are, for tests that check a file the build or install uses.

#include <filesystem>

std::filesystem::path sourceDir();
