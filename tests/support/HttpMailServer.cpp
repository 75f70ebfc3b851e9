#include "tests/support/HttpMailServer.h"

#include "tests/support/Files.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

extern char** environ;

namespace {

// The first stdout line, waited for at most ten seconds (python3 starts in well under one).
std::string firstLine(int fd) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (line.find('\n') == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        char chunk[256];
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got <= 0) {
            break;
        }
        line.append(chunk, static_cast<std::size_t>(got));
    }
    return line.substr(0, line.find('\n'));
}

std::int32_t portOf(const std::string& line) {
    const std::string prefix = "listening on 127.0.0.1:";
    std::int32_t port = 0;
    if (line.rfind(prefix, 0) != 0 ||
        std::from_chars(line.data() + prefix.size(), line.data() + line.size(), port).ec != std::errc()) {
        return 0;
    }
    return port;
}

}  // namespace

HttpMailServer::HttpMailServer(const HttpMailServerOptions& options) {
    std::string root = (std::filesystem::temp_directory_path() / "vq-httpmail-XXXXXX").string();
    if (mkdtemp(root.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    m_root = root;
    m_folder = m_root / "Contacts";
    m_log = m_root / "requests.log";
    m_faultFile = m_root / "fault";
    m_swapFile = m_root / "certificate";

    std::vector<std::string> args{
        "python3",      VQ_SERVER_SCRIPT,    "--host", "127.0.0.1",  "--port",     "0",
        "--folder",     m_folder.string(),   "--user", options.user, "--password", options.password,
        "--fault-file", m_faultFile.string()};
    if (options.seedSamples) {
        args.emplace_back("--seed-samples");
    }
    args.insert(args.end(), options.switches.begin(), options.switches.end());
    if (!options.fault.empty()) {
        args.insert(args.end(), {"--fault", options.fault});
    }
    if (!options.tlsCertificate.empty()) {
        args.insert(args.end(), {"--tls-cert", options.tlsCertificate.string(), "--tls-key", options.tlsKey.string(),
                                 "--tls-swap-file", m_swapFile.string()});
    }
    if (options.keepRawRequests) {
        m_rawDir = m_root / "raw";
        std::filesystem::create_directory(m_rawDir);
        args.insert(args.end(), {"--raw-dir", m_rawDir.string()});
    }
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0) {
        throw std::runtime_error("cannot make a pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, m_log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int spawned = posix_spawnp(&m_pid, "python3", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        m_pid = -1;
        std::filesystem::remove_all(m_root);
        throw std::runtime_error("cannot start python3");
    }
    const std::string line = firstLine(out[0]);
    close(out[0]);
    m_port = portOf(line);
    if (m_port == 0) {
        stop();
        std::filesystem::remove_all(m_root);
        throw std::runtime_error("httpmail server did not start: \"" + line + "\"");
    }
}

HttpMailServer::~HttpMailServer() {
    stop();
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

void HttpMailServer::stop() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
}

namespace {

// Written whole to a new file and renamed, so the server never reads half of it.
void replaceFile(const std::filesystem::path& file, const std::string& text) {
    const auto fresh = file.string() + ".new";
    std::ofstream(fresh, std::ios::trunc) << text;
    std::filesystem::rename(fresh, file);
}

std::vector<std::string> linesOf(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

void HttpMailServer::setFault(const std::string& fault) const {
    replaceFile(m_faultFile, fault);
}

void HttpMailServer::useCertificate(const std::filesystem::path& certificate, const std::filesystem::path& key) const {
    replaceFile(m_swapFile, certificate.string() + "\n" + key.string());
}

std::vector<std::string> HttpMailServer::requestLog() const {
    std::vector<std::string> lines;
    std::ifstream in(m_log);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::vector<std::string> HttpMailServer::rawRequests() const {
    std::vector<std::filesystem::path> files;
    if (!m_rawDir.empty()) {
        for (const auto& entry : std::filesystem::directory_iterator(m_rawDir)) {
            if (entry.path().extension() == ".bin") {
                files.push_back(entry.path());
            }
        }
    }
    std::sort(files.begin(), files.end());  // numbered in arrival order
    std::vector<std::string> requests;
    for (const auto& file : files) {
        requests.push_back(fileBytes(file));
    }
    return requests;
}

std::vector<std::string> HttpMailServer::serverNames() const {
    return m_rawDir.empty() ? std::vector<std::string>() : linesOf(m_rawDir / "server-names.txt");
}

std::vector<std::string> HttpMailServer::handshakes() const {
    return m_rawDir.empty() ? std::vector<std::string>() : linesOf(m_rawDir / "handshakes.txt");
}

std::vector<std::string> HttpMailServer::requests(const std::string& method) const {
    std::vector<std::string> found;
    for (const std::string& line : requestLog()) {
        if (line.rfind(method + " ", 0) == 0) {
            found.push_back(line.substr(method.size() + 1));
        }
    }
    return found;
}

HttpMailServerOptions seededOverTls(const std::filesystem::path& certificate, const std::filesystem::path& key) {
    HttpMailServerOptions options;
    options.seedSamples = true;
    options.tlsCertificate = certificate;
    options.tlsKey = key;
    return options;
}
