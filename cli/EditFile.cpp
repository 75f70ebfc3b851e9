#include "cli/EditFile.h"

#include "cli/LocalError.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool writeAll(int descriptor, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

}  // namespace

PrivateFile::PrivateFile(const std::string& bytes) {
    const std::string folder = variable("TMPDIR").empty() ? "/tmp" : variable("TMPDIR");
    std::string name = folder + "/vqcontacts-XXXXXX.vcf";
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    const int descriptor = ::mkstemps(buffer.data(), 4);  // made 0600, and only by us
    if (descriptor < 0) {
        throw LocalError("cannot make a private file in " + folder + ": " + std::strerror(errno));
    }
    m_path = buffer.data();
    const bool written = ::fchmod(descriptor, S_IRUSR | S_IWUSR) == 0 && writeAll(descriptor, bytes);
    if (::close(descriptor) != 0 || !written) {
        std::filesystem::remove(m_path);
        throw LocalError("cannot write the private file " + m_path.string() + ": " + std::strerror(errno));
    }
}

PrivateFile::~PrivateFile() {
    if (!m_kept) {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
}

std::optional<std::string> PrivateFile::read() const {
    std::ifstream in(m_path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    return in.bad() ? std::nullopt : std::optional(std::move(bytes));
}

std::string chosenEditor() {
    for (const char* name : {"VISUAL", "EDITOR"}) {
        if (!variable(name).empty()) {
            return variable(name);
        }
    }
    return "vi";
}

int runEditor(const std::string& editor, const std::filesystem::path& file) {
    const pid_t child = ::fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        // The path goes as "$1", never into the command text: a name with blanks or quotes is safe.
        const std::string command = editor + " \"$1\"";
        ::execl("/bin/sh", "sh", "-c", command.c_str(), "sh", file.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
