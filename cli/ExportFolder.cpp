#include "cli/ExportFolder.h"

#include "cli/LocalError.h"
#include "codec/WriteAll.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace {

std::string reason(int error) {
    return std::strerror(error);
}

StoreResult failed(int error) {
    return {StoreOutcome::Failed, reason(error)};
}

// Contacts are exported while others write the folder too: a name nobody else guesses.
std::string temporaryName() {
    static std::atomic<unsigned> serial{0};
    static const unsigned long long salt = std::random_device{}();
    char name[64];
    std::snprintf(name, sizeof name, ".vqcontacts-%d-%llx-%u.tmp", static_cast<int>(getpid()), salt, serial++);
    return name;
}

// Each missing folder of the path, made readable by its owner only: an export is a backup of
// personal data. Folders that are there keep their modes. Answers 0, or the errno that stopped it.
int makePrivateFolders(const std::filesystem::path& folder) {
    std::filesystem::path made;
    for (const std::filesystem::path& part : folder) {
        made /= part;
        if (mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) {
            return errno;
        }
    }
    return 0;
}

}  // namespace

ExportFolder::ExportFolder(const std::filesystem::path& folder) : m_folder(folder) {
    if (const int error = makePrivateFolders(folder); error != 0) {
        throw LocalError("cannot make the folder \"" + folder.string() + "\": " + reason(error));
    }
    m_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) {
        throw LocalError("cannot open the folder \"" + folder.string() + "\": " + reason(errno));
    }
    if (faccessat(m_fd, ".", W_OK | X_OK, AT_EACCESS) != 0) {
        const int cause = errno;
        close(m_fd);
        throw LocalError("cannot write into the folder \"" + folder.string() + "\": " + reason(cause));
    }
}

ExportFolder::~ExportFolder() {
    close(m_fd);
}

StoreResult ExportFolder::store(const std::string& name, std::string_view bytes) const {
    struct stat existing {};
    if (fstatat(m_fd, name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        return {holds(name, bytes) ? StoreOutcome::AlreadyThere : StoreOutcome::Clash, {}};
    }
    if (errno != ENOENT) {
        return failed(errno);
    }
    std::string temporary;
    if (StoreResult written = writeTemporary(bytes, temporary); written.outcome == StoreOutcome::Failed) {
        return written;
    }
    // Never replaces: a file that appeared meanwhile is compared like one that was there before.
    int linked = renameat2(m_fd, temporary.c_str(), m_fd, name.c_str(), RENAME_NOREPLACE);
    if (linked != 0 && errno == EINVAL) {  // a file system without RENAME_NOREPLACE
        linked = linkat(m_fd, temporary.c_str(), m_fd, name.c_str(), 0);
    }
    const int cause = errno;
    unlinkat(m_fd, temporary.c_str(), 0);  // after a rename, the name is gone already
    if (linked == 0) {
        return {StoreOutcome::Written, {}};
    }
    if (cause == EEXIST) {
        return {holds(name, bytes) ? StoreOutcome::AlreadyThere : StoreOutcome::Clash, {}};
    }
    return failed(cause);
}

StoreResult ExportFolder::writeTemporary(std::string_view bytes, std::string& temporaryName) const {
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporaryName = ::temporaryName();
        fd = openat(m_fd, temporaryName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) {
            return failed(errno);
        }
    }
    if (fd < 0) {
        return failed(EEXIST);
    }
    // Synced before it gets its name: after a crash a contact's file is whole or absent.
    const bool whole = writeAll(fd, bytes) && fsync(fd) == 0;
    const int cause = errno;
    if (close(fd) != 0 || !whole) {
        const int error = whole ? errno : cause;
        unlinkat(m_fd, temporaryName.c_str(), 0);
        return failed(error);
    }
    return {StoreOutcome::Written, {}};
}

bool ExportFolder::holds(const std::string& name, std::string_view bytes) const {
    // O_NONBLOCK: a FIFO of that name must not stall the export; it is no regular file anyway.
    const int fd = openat(m_fd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat status {};
    bool same = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                static_cast<std::uintmax_t>(status.st_size) == bytes.size();
    char chunk[64 * 1024];
    std::size_t offset = 0;
    while (same && offset < bytes.size()) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        const std::size_t count = got > 0 ? static_cast<std::size_t>(got) : 0;
        same = count > 0 && count <= bytes.size() - offset && bytes.compare(offset, count, {chunk, count}) == 0;
        offset += count;
    }
    close(fd);
    return same;
}
