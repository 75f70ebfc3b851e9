#include "tests/support/ApacheDav.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

extern char** environ;

namespace {

const std::filesystem::path kApache = "/usr/sbin/apache2";
const std::filesystem::path kModules = "/usr/lib/apache2/modules";

sockaddr_in loopback(std::int32_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port nothing listens on now; Apache may still lose it to another program before it binds.
std::int32_t freePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    const bool ok = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    if (fd >= 0) {
        close(fd);
    }
    return ok ? ntohs(address.sin_port) : 0;
}

bool accepts(std::int32_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(port);
    const bool connected = fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0) {
        close(fd);
    }
    return connected;
}

void writeConfig(const std::filesystem::path& root, std::int32_t port) {
    std::ofstream config(root / "httpd.conf", std::ios::trunc);
    for (const char* module : {"mpm_event", "authz_core", "dav", "dav_fs"}) {
        config << "LoadModule " << module << "_module " << (kModules / ("mod_" + std::string(module) + ".so")).string()
               << "\n";
    }
    // The listing's PROPFIND carries no Depth header, which WebDAV reads as infinity.
    config << "ServerRoot \"" << root.string() << "\"\n"
           << "Listen 127.0.0.1:" << port << "\n"
           << "ServerName 127.0.0.1\n"
           << "PidFile \"" << (root / "httpd.pid").string() << "\"\n"
           << "ErrorLog \"" << (root / "error.log").string() << "\"\n"
           << "DocumentRoot \"" << (root / "www").string() << "\"\n"
           << "DavLockDB \"" << (root / "DavLock").string() << "\"\n"
           << "<Directory \"" << (root / "www").string() << "\">\n"
           << "  Dav On\n  DavDepthInfinity On\n  Require all granted\n</Directory>\n";
}

}  // namespace

bool ApacheDav::installed() {
    return std::filesystem::exists(kApache) && std::filesystem::exists(kModules / "mod_dav_fs.so");
}

ApacheDav::ApacheDav() {
    std::string root = (std::filesystem::temp_directory_path() / "vq-apache-XXXXXX").string();
    if (mkdtemp(root.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    m_root = root;
    m_folder = m_root / "www" / "vqhttpmail" / "2" / "3" / "4" / "Contacts";
    std::filesystem::create_directories(m_folder);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (startOn(freePort())) {
            return;
        }
    }
    std::filesystem::remove_all(m_root);
    throw std::runtime_error("apache2 did not start");
}

bool ApacheDav::startOn(std::int32_t port) {
    if (port == 0) {
        return false;
    }
    writeConfig(m_root, port);
    std::string binary = kApache.string();
    std::string file = (m_root / "httpd.conf").string();
    std::string flag = "-f";
    std::string foreground = "-X";  // one process, in the foreground: the pid to stop is this one
    char* argv[] = {binary.data(), flag.data(), file.data(), foreground.data(), nullptr};
    if (posix_spawn(&m_pid, binary.c_str(), nullptr, nullptr, argv, environ) != 0) {
        m_pid = -1;
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (accepts(port)) {
            m_port = port;
            return true;
        }
        if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_pid = -1;  // it ended: the port was taken meanwhile, or the config is refused
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // polling for "it is up"
    }
    stop();
    return false;
}

ApacheDav::~ApacheDav() {
    stop();
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

void ApacheDav::stop() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
}
