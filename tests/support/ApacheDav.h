#pragma once
// Apache httpd with mod_dav and mod_dav_fs on 127.0.0.1 and a free port, for one test: a real
// WebDAV server with real ETags. The contact folder is a directory at the store path, served
// without authentication, in a fresh temporary folder that goes with the server.

#include <sys/types.h>
#include <cstdint>
#include <filesystem>

class ApacheDav {
public:
    // Whether apache2 and the two modules are installed; a test skips when not.
    static bool installed();

    // Throws std::runtime_error when it does not come up within ten seconds.
    ApacheDav();
    ~ApacheDav();  // stops it, reaps it, removes its folder
    ApacheDav(const ApacheDav&) = delete;
    ApacheDav& operator=(const ApacheDav&) = delete;

    std::int32_t port() const { return m_port; }
    // The directory served as the contact folder.
    const std::filesystem::path& folder() const { return m_folder; }

private:
    bool startOn(std::int32_t port);
    void stop();

    std::filesystem::path m_root;
    std::filesystem::path m_folder;
    pid_t m_pid = -1;
    std::int32_t m_port = 0;
};
