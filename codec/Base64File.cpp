// The file operations of Base64: whole files, read and written exactly as bytes.
#include "codec/Base64.h"
#include "codec/WriteAll.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

const char* const kDecodeToFile = "Base64.DecodeToFile";

// The classic numbers for the file failures a caller may want to tell apart.
std::int32_t errorNumber(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR: return 76;  // path not found
        case EACCES:
        case EPERM:
        case EROFS: return 70;  // permission denied
        case ENOSPC:
        case EDQUOT: return 61;  // disk full
        default: return 75;      // path/file access error
    }
}

[[noreturn]] void throwFileError(int error, const std::string& what, const std::filesystem::path& path) {
    throw Base64Error(errorNumber(error), kDecodeToFile, what + " \"" + path.string() + "\": " + std::strerror(error));
}

[[noreturn]] void throwExists() {
    throw Base64Error(Base64::kFileExistsError, kDecodeToFile, "File already exists.");
}

}  // namespace

std::u16string Base64::EncodeFromFile(const std::filesystem::path& sFileName) const {
    try {
        std::ifstream file(sFileName, std::ios::binary);
        if (!file) {
            return {};
        }
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (file.bad()) {
            return {};
        }
        return EncodeArr(bytes);
    } catch (...) {
        // Out of memory, or a folder given as the path: the empty text, as for any other failure.
        return {};
    }
}

void Base64::DecodeToFile(const std::u16string& sInput, const std::filesystem::path& sFileName) const {
    struct stat existing {};
    if (::lstat(sFileName.c_str(), &existing) == 0) {
        throwExists();  // whatever its attributes; it is never opened
    }
    // Decoding comes first, so a text that cannot be decoded leaves nothing on disk.
    const std::vector<std::uint8_t> bytes = DecodeArr(sInput);

    // O_EXCL: a file that appeared since the test above is refused, never overwritten.
    const int fd = ::open(sFileName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EEXIST) {
            throwExists();
        }
        throwFileError(errno, "Cannot create", sFileName);
    }
    const bool written = writeAll(fd, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        const int error = !written ? writeError : errno;
        ::unlink(sFileName.c_str());  // no half-written file stays behind
        throwFileError(error, "Cannot write", sFileName);
    }
}
