#include "contacts/ItemFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace {

// Closes the descriptor on every way out.
class OpenFile {
public:
    explicit OpenFile(int fd) : m_fd(fd) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// Up to want bytes into bytes, through short reads and signals; the count read, or -1 on an error.
ssize_t readUpTo(int fd, char* bytes, std::size_t want) {
    std::size_t got = 0;
    while (got < want) {
        const ssize_t step = read(fd, bytes + got, want - got);
        if (step < 0 && errno == EINTR) {
            continue;
        }
        if (step < 0) {
            return -1;
        }
        if (step == 0) {
            break;
        }
        got += static_cast<std::size_t>(step);
    }
    return static_cast<ssize_t>(got);
}

}  // namespace

std::optional<std::string> readItemFile(const std::filesystem::path& file, std::size_t maxBytes) {
    // Opened first and judged by what was opened: a path checked first could become a FIFO before
    // the open. O_NONBLOCK lets the open of a FIFO return at once instead of waiting for a writer;
    // a regular file reads the same with it.
    const OpenFile in(open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (in.fd() < 0 || fstat(in.fd(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0 ||
        static_cast<std::uintmax_t>(status.st_size) > maxBytes) {
        return std::nullopt;
    }
    const auto size = static_cast<std::size_t>(status.st_size);
    // One byte more than the size asks for: a file that grew since its size was taken is being
    // written, and half a contact is not posted.
    std::string bytes(size + 1, '\0');
    if (readUpTo(in.fd(), bytes.data(), bytes.size()) != static_cast<ssize_t>(size)) {
        return std::nullopt;
    }
    bytes.resize(size);
    return bytes;
}
