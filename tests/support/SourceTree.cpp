#include "tests/support/SourceTree.h"

std::filesystem::path sourceDir() {
    return VQ_SOURCE_DIR;
}
