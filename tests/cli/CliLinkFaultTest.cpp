// list and export over links that fail, a server that stops, and hrefs that would break a line:
// every contact once, a stop that ends with status 4 and keeps what was written, one line each.

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "tests/cli/CliRun.h"
#include "tests/cli/TempFolder.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ScopedLimits.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

HttpMailServerOptions seededWith(const std::string& fault) {
    HttpMailServerOptions options;
    options.seedSamples = true;
    options.fault = fault;
    return options;
}

mode_t modeOf(const fs::path& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// Standard error of this process into a file while it lives, for commands run in-process.
class CapturedErrors {
public:
    explicit CapturedErrors(const fs::path& file)
        : m_file(file), m_saved(dup(STDERR_FILENO)), m_fd(open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)) {
        dup2(m_fd, STDERR_FILENO);
    }
    ~CapturedErrors() { restore(); }
    CapturedErrors(const CapturedErrors&) = delete;
    CapturedErrors& operator=(const CapturedErrors&) = delete;
    std::string text() {
        restore();
        return fileBytes(m_file);
    }

private:
    void restore() {
        if (m_saved >= 0) {
            dup2(m_saved, STDERR_FILENO);
            close(m_saved);
            close(m_fd);
            m_saved = -1;
        }
    }
    fs::path m_file;
    int m_saved;
    int m_fd;
};

}  // namespace

TEST(CliLinkFaults, ExportsEveryContactOnceOverAFlakyLinkIntoPrivateFiles) {
    struct Row {
        const char* why;
        const char* fault;
    };
    const Row rows[] = {
        {"one connection in 17 reset", "reset-every=17"},
        {"every third reset", "reset-every=3"},
        {"503 on each contact's first GET", "retry-after=0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServer server(seededWith(row.fault));
        const TempFolder temp;
        const fs::path dir = temp.path() / "backup" / "today";
        const CliRun run = runCli(atPort(server.port(), {"export", dir.string()}), demoLogin);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        ASSERT_EQ(namesIn(dir), namesIn(server.folder()));
        for (const std::string& name : namesIn(dir)) {
            EXPECT_EQ(fileBytes(dir / name), fileBytes(server.folder() / name)) << name;
            EXPECT_EQ(modeOf(dir / name), 0600u) << name << ": personal data, for its owner only";
        }
        EXPECT_EQ(modeOf(dir), 0700u);
        EXPECT_EQ(modeOf(temp.path() / "backup"), 0700u) << "every folder the command made";
    }
}

TEST(CliLinkFaults, AServerThatStopsEndsExportAndListWithStatus4KeepingWhatWasWritten) {
    const nettest::ScopedLimits quick({.connectTimeout = 5s, .idleTimeout = 300ms});
    const TempFolder temp;
    HttpMailServer server(seededWith("stall-after=8"));  // the PROPFIND and seven contacts
    const ContactFolder folder({u"127.0.0.1", server.port(), u"Basic ZGVtbzpkZW1v"});
    CapturedErrors errors(temp.path() / "stderr");
    const auto start = std::chrono::steady_clock::now();
    const int status = exportCommand(folder, (temp.path() / "out").string());
    const auto took = std::chrono::steady_clock::now() - start;
    const std::string said = errors.text();
    EXPECT_EQ(status, exitSomeFailed);
    EXPECT_LT(took, 5s) << "two idle limits and a little, not one per contact";
    const std::vector<std::string> written = namesIn(temp.path() / "out");
    EXPECT_LE(written.size(), 7u);
    const std::vector<std::string> all = namesIn(server.folder());
    EXPECT_TRUE(std::equal(written.begin(), written.end(), all.begin())) << "the first ones, in folder order";
    EXPECT_NE(said.find("vqcontacts: The server 127.0.0.1 on port " + std::to_string(server.port()) +
                        " stopped answering. " + std::to_string(written.size()) +
                        " of 20 contacts were listed. What was written stays; run the command again for the rest.\n"),
              std::string::npos)
        << said;
}

TEST(CliLinkFaults, ListGivesOneLineWithOneTabPerContactWhateverTheHrefsHold) {
    const std::string segments[] = {"tab&#9;x.vcf", "cr&#13;x.vcf", "lf&#10;x.vcf", "back\\slash.vcf", "plain.vcf"};
    std::string listing = "<?xml version=\"1.0\"?>\r\n<D:multistatus xmlns:D=\"DAV:\">";
    for (const std::string& segment : segments) {
        listing += "<D:response><D:href>/vqhttpmail/2/3/4/Contacts/" + segment + "</D:href></D:response>";
    }
    // The card hides in a comment: the one scripted answer serves as the listing and as every card.
    const std::string body = listing + "<!--\r\nBEGIN:VCARD\r\nFN:A B\r\nEND:VCARD\r\n--></D:multistatus>\r\n";
    nettest::LoopbackServer server(
        {true, "HTTP/1.0 207 Multi-Status\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body});
    ASSERT_TRUE(server.listening());
    const CliRun run = runCli(atPort(server.port(), {"list"}), demoLogin);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "A B\ttab\\tx.vcf\nA B\tcr\\rx.vcf\nA B\tlf\\nx.vcf\nA B\tback\\\\slash.vcf\nA B\tplain.vcf\n");

    const CliRun shown = runCli(atPort(server.port(), {"show", "lf\\nx.vcf"}), demoLogin);
    EXPECT_EQ(shown.status, 0) << shown.err;
    ASSERT_FALSE(server.requests().empty());
    EXPECT_NE(server.requests().back().find("/Contacts/lf%0Ax.vcf "), std::string::npos)
        << "show takes FILE as list wrote it: " << server.requests().back();
}

TEST(CliLinkFaults, ACardStoredAndNeverAnsweredIsNamedTheRestGoUpAndTheStatusIs4) {
    const nettest::ScopedLimits quick({.connectTimeout = 5s, .idleTimeout = 300ms});
    const TempFolder temp;
    HttpMailServer server(seededWith("post-unanswered"));
    const ContactFolder folder({u"127.0.0.1", server.port(), u"Basic ZGVtbzpkZW1v"});
    const std::string card = "BEGIN:VCARD\r\nFN:Kept\r\nEND:VCARD\r\n";
    CapturedErrors errors(temp.path() / "stderr");
    const int status = uploadCommand(folder, {{"\"book.vcf\"", card + card}});
    const std::string said = errors.text();
    EXPECT_EQ(status, exitSomeFailed) << "not 3: the server took the card";
    for (const char* subject : {"\"book.vcf\", card 1", "\"book.vcf\", card 2"}) {
        EXPECT_NE(said.find(std::string("vqcontacts: ") + subject + " may have been stored: it went out whole, then "),
                  std::string::npos)
            << said;
    }
    EXPECT_EQ(namesIn(server.folder()).size(), 22u) << "both cards were stored";
}
