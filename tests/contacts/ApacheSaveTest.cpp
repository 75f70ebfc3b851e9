// One save against Apache's mod_dav, whose ETags are its own ("size-mtime"), not the demo server's:
// the PUT under the opened ETag replaces the contact, and one under a stale ETag overwrites nothing.
// Skipped where apache2 is not installed.

#include "contacts/ContactSave.h"
#include "tests/support/Files.h"
#include "tests/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

int freePort() {
    const nettest::LoopbackListener listener = nettest::listenOnLoopback();
    ::close(listener.fd);
    return listener.port;
}

bool accepts(int port) {
    const int fd = nettest::connectToLoopback(static_cast<std::uint16_t>(port));
    ::close(fd);
    return fd >= 0;
}

// Apache in the foreground (-X) on 127.0.0.1, its contact folder under the demo server's path.
class ApacheDav {
public:
    ApacheDav() : m_root(fs::temp_directory_path() / ("vq-apache-" + std::to_string(::getpid()))), m_port(freePort()) {
        fs::create_directories(folder());
        // Apache started as root serves as www-data, which must write the folder.
        fs::permissions(m_root, fs::perms::all);
        fs::permissions(folder(), fs::perms::all);
        const std::string modules = "/usr/lib/apache2/modules/";
        std::ofstream(m_root / "httpd.conf")
            << "ServerRoot " << m_root.string() << "\n"
            << "LoadModule mpm_prefork_module " << modules << "mod_mpm_prefork.so\n"
            << "LoadModule authz_core_module " << modules << "mod_authz_core.so\n"
            << "LoadModule alias_module " << modules << "mod_alias.so\n"
            << "LoadModule dav_module " << modules << "mod_dav.so\n"
            << "LoadModule dav_fs_module " << modules << "mod_dav_fs.so\n"
            << "ServerName 127.0.0.1\nListen 127.0.0.1:" << m_port << "\n"
            << "PidFile " << (m_root / "httpd.pid").string() << "\nErrorLog " << (m_root / "error.log").string() << "\n"
            << (::getuid() == 0 ? "User www-data\nGroup www-data\n" : "") << "DavLockDB "
            << (m_root / "DavLock").string() << "\n"
            << "Alias /vqhttpmail/2/3/4/Contacts " << folder().string() << "\n"
            << "<Directory " << folder().string() << ">\n  Dav On\n  Require all granted\n</Directory>\n";
        m_pid = ::fork();
        if (m_pid == 0) {
            const std::string conf = (m_root / "httpd.conf").string();
            ::execlp("apache2", "apache2", "-X", "-f", conf.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!accepts(m_port) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));  // polling for the start, with a deadline
        }
    }
    ~ApacheDav() {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    ApacheDav(const ApacheDav&) = delete;
    ApacheDav& operator=(const ApacheDav&) = delete;

    fs::path folder() const { return m_root / "Contacts"; }
    int port() const { return m_port; }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(folder() / name, std::ios::binary | std::ios::trunc) << bytes;
        fs::permissions(folder() / name, fs::perms::all);
    }

private:
    fs::path m_root;
    int m_port;
    pid_t m_pid = -1;
};

}  // namespace

TEST(ApacheSave, PutsUnderItsRealETagsAndOverwritesNothingChanged) {
    if (!fs::exists("/usr/sbin/apache2") || !fs::exists("/usr/lib/apache2/modules/mod_dav_fs.so")) {
        GTEST_SKIP() << "apache2 with mod_dav is not installed";
    }
    const std::string opened = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nEND:VCARD\r\n";
    const std::string edited = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anne\r\nEND:VCARD\r\n";
    const std::string elsewhere = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann B.\r\nEND:VCARD\r\n";
    struct Row {
        const char* why;
        bool oldFile;           // written an hour ago: Apache's ETag is strong, else weak ("W/")
        bool changedElsewhere;  // another client wrote it after it was opened
        SaveStep step;
        std::string after;
    };
    const Row rows[] = {
        {"a strong ETag: PUT with If-Match", true, false, SaveStep::Saved, edited},
        {"a strong ETag gone stale: 412", true, true, SaveStep::Changed, elsewhere},
        {"a weak ETag never matches: the bytes are compared instead", false, false, SaveStep::Saved, edited},
        {"a weak ETag and other bytes: nothing sent", false, true, SaveStep::Changed, elsewhere},
    };
    const ApacheDav apache;
    const ContactFolder folder({u"127.0.0.1", apache.port(), u"Basic ZGVtbzpkZW1v"});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        apache.write("a.vcf", opened);
        if (row.oldFile) {
            fs::last_write_time(apache.folder() / "a.vcf", fs::file_time_type::clock::now() - std::chrono::hours(1));
        }
        const modWININET::HttpResult got = folder.get("a.vcf");
        ASSERT_TRUE(got.succeeded()) << got.status << " " << got.reason;
        ASSERT_TRUE(got.etag.has_value());
        EXPECT_EQ(got.etag->starts_with("W/"), !row.oldFile) << *got.etag;
        if (row.changedElsewhere) {
            apache.write("a.vcf", elsewhere);  // another size: another ETag
        }
        const SaveReport report = saveContact(folder, {"a.vcf", got.body, got.etag}, edited);
        EXPECT_EQ(report.step, row.step);
        EXPECT_EQ(fileBytes(apache.folder() / "a.vcf"), row.after);
    }
}
