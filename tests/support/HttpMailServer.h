#pragma once
// Runs tools/httpmail-server on 127.0.0.1 and a free port for one test, over a fresh temporary
// contact folder; stops it, reaps it and removes the folder when it goes out of scope.
// Throws std::runtime_error when the server does not come up.

#include <sys/types.h>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct HttpMailServerOptions {
    std::string user = "demo";
    std::string password = "demo";
    bool seedSamples = false;
    std::string fault;                          // empty: none; else a --fault name of the server, fixed for its life
    std::filesystem::path tlsCertificate = {};  // with tlsKey: the server speaks TLS only, with this PEM
    std::filesystem::path tlsKey = {};
    bool keepRawRequests = false;  // true: rawRequests() gives each request's bytes as they came
    std::vector<std::string> switches = {};  // more of the server's own, as "--refuse-delete"
};

// The sample folder served over TLS only, with that certificate and key.
HttpMailServerOptions seededOverTls(const std::filesystem::path& certificate, const std::filesystem::path& key);

class HttpMailServer {
public:
    explicit HttpMailServer(const HttpMailServerOptions& options = {});
    ~HttpMailServer();
    HttpMailServer(const HttpMailServer&) = delete;
    HttpMailServer& operator=(const HttpMailServer&) = delete;

    std::int32_t port() const { return m_port; }
    const std::filesystem::path& folder() const { return m_folder; }
    // One line per request so far: "METHOD PATH STATUS".
    std::vector<std::string> requestLog() const;
    // The requests logged so far with the given method, as "PATH STATUS".
    std::vector<std::string> requests(const std::string& method) const;
    // The bytes of each request so far, in arrival order, when the options asked to keep them.
    std::vector<std::string> rawRequests() const;
    // The server name each TLS handshake asked for (SNI), "-" for none, when raw requests are kept.
    std::vector<std::string> serverNames() const;
    // "resumed" or "full" for each TLS handshake that ended well, "hung up" for one the fault
    // tls-hang-up-on-resume ended, when raw requests are kept.
    std::vector<std::string> handshakes() const;
    // A TLS server serves the connections that come from now on with this certificate and key, as
    // one restarted with them: sessions it handed out before no longer resume.
    void useCertificate(const std::filesystem::path& certificate, const std::filesystem::path& key) const;
    // Switches the server to a --fault mode from its next request on; empty: back to normal.
    // Has no effect when the options fixed a fault.
    void setFault(const std::string& fault) const;
    // Stops the server now (a test of a server that went away); the folder stays until the end.
    void stop();

private:
    std::filesystem::path m_root;
    std::filesystem::path m_folder;
    std::filesystem::path m_log;
    std::filesystem::path m_faultFile;
    std::filesystem::path m_swapFile;
    std::filesystem::path m_rawDir;
    pid_t m_pid = -1;
    std::int32_t m_port = 0;
};
