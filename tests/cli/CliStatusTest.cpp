// The exit status and the message of each way a run of the built vqcontacts can end, and where
// the password comes from.

#include "tests/cli/CliRun.h"
#include "tests/cli/TempFolder.h"
#include "tests/support/HttpMailServer.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TestAuthority.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <fstream>

namespace {

const std::string authenticationError = "vqcontacts: Authentication Error: Please check credentials.\n";
const std::string noContactFolder =
    "vqcontacts: Server does not seem to support remote contact administration or does not have any contact "
    "defined. You may have also specified an invalid password.\n";

// A loopback port where nothing listens: connections to it are refused.
int closedPort() {
    const nettest::LoopbackListener listener = nettest::listenOnLoopback();
    close(listener.fd);
    return listener.port;
}

}  // namespace

TEST(CliStatus, EachEndingHasItsStatusAndTheWindowsWords) {
    HttpMailServerOptions options;
    options.seedSamples = true;
    HttpMailServer server(options);
    const TempFolder temp;
    std::ofstream(temp.path() / "plain-file") << "x";
    const int port = server.port();
    // Each cut GET is tried four times over 1.25 s: two contacts say as much as the twenty samples.
    HttpMailServerOptions cutOptions;
    cutOptions.fault = "cut-contact";
    HttpMailServer cutServer(cutOptions);
    for (const char* name : {"A01.vcf", "A02.vcf"}) {
        std::ofstream(cutServer.folder() / name) << "BEGIN:VCARD\r\nFN:Cut\r\nEND:VCARD\r\n";
    }
    struct Row {
        const char* why;
        std::string fault;
        std::vector<std::string> arguments;
        std::vector<std::string> environment;
        int status;
        std::string err;  // its start
    };
    const Row rows[] = {
        {"everything done", "", atPort(port, {"list"}), demoLogin, 0, ""},
        {"a wrong password",
         "",
         atPort(port, {"list"}),
         {"VQCONTACTS_USER=demo", "VQCONTACTS_PASSWORD=x"},
         2,
         authenticationError},
        {"the password changed part-way: the listing stops at once", "refuse-after=6", atPort(port, {"list"}),
         demoLogin, 2, authenticationError},
        {"a forbidden folder", "forbidden", atPort(port, {"export", "-"}), demoLogin, 2,
         "vqcontacts: Communications Failure: Unable to connect to remote host.\n"},
        {"a rejected show",
         "",
         atPort(port, {"show", "A01.vcf"}),
         {"VQCONTACTS_USER=x", "VQCONTACTS_PASSWORD=x"},
         2,
         authenticationError},
        {"no contact folder", "no-folder", atPort(port, {"list"}), demoLogin, 3,
         noContactFolder + "vqcontacts: the server answered 404\n"},
        {"a web server, not a folder", "not-webdav", atPort(port, {"list"}), demoLogin, 3,
         noContactFolder + "vqcontacts: the server's answer lists no contacts (no D:response in it)\n"},
        {"nothing listening", "", atPort(closedPort(), {"list"}), demoLogin, 3, noContactFolder},
        {"every GET cut off", "", atPort(cutServer.port(), {"export", "-"}), demoLogin, 4,
         "vqcontacts: contact \"A01.vcf\": "},
        {"a show of a contact cut off: the server was reached, that request failed", "cut-contact",
         atPort(port, {"show", "A01.vcf"}), demoLogin, 4, "vqcontacts: contact \"A01.vcf\": "},
        {"a contact that is not there", "", atPort(port, {"show", "gone.vcf"}), demoLogin, 4,
         "vqcontacts: contact \"gone.vcf\": the server answered 404\n"},
        {"a port out of range", "", atPort(65536, {"list"}), demoLogin, 1,
         "vqcontacts: --port \"65536\" is not a port number from 1 to 65535\n"},
        {"an unknown command", "", atPort(port, {"backup"}), demoLogin, 1,
         "vqcontacts: unknown command \"backup\" (list, show, export, upload, delete, duplicates or edit)\n"},
        {"a folder that cannot be made", "", atPort(port, {"export", (temp.path() / "plain-file/x").string()}),
         demoLogin, 1, "vqcontacts: cannot make the folder \""},
        {"no user name",
         "",
         atPort(port, {"list"}),
         {"VQCONTACTS_PASSWORD=demo"},
         1,
         "vqcontacts: no user name: give --user NAME or set VQCONTACTS_USER\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        server.setFault(row.fault);
        const CliRun run = runCli(row.arguments, row.environment);
        EXPECT_EQ(run.status, row.status) << run.err;
        EXPECT_EQ(run.err.substr(0, row.err.size()), row.err);
        EXPECT_EQ(run.err.empty(), row.status == 0) << "every failure is told, success is quiet";
    }
}

TEST(CliStatus, ThePasswordComesFromTheFileElseTheEnvironmentNeverFromNowhere) {
    HttpMailServerOptions options;
    options.password = "p\u00e4ssw\u00f6rd";  // the server checks it as Windows-1252, as the window sends it
    HttpMailServer server(options);
    const TempFolder temp;
    const auto file = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(temp.path() / name, std::ios::binary) << bytes;
        return "--password-file=" + (temp.path() / name).string();
    };
    const std::string utf8Password = "p\xC3\xA4ssw\xC3\xB6rd";
    struct Row {
        const char* why;
        std::vector<std::string> options;
        std::vector<std::string> environment;
        int status;
        std::string err;
    };
    const Row rows[] = {
        {"by file only", {file("a", utf8Password + "\n")}, {}, 0, ""},
        {"the file's first line only, CR LF left out", {file("b", utf8Password + "\r\nsecond line\n")}, {}, 0, ""},
        {"a file in Windows-1252", {file("c", "p\xE4ssw\xF6rd")}, {}, 0, ""},
        {"by environment only", {}, {"VQCONTACTS_PASSWORD=" + utf8Password}, 0, ""},
        {"the file before the environment", {file("d", utf8Password)}, {"VQCONTACTS_PASSWORD=wrong"}, 0, ""},
        {"a wrong password in the file",
         {file("e", "wrong")},
         {"VQCONTACTS_PASSWORD=" + utf8Password},
         2,
         authenticationError},
        {"no source and no terminal",
         {},
         {},
         1,
         "vqcontacts: no password: there is no terminal to ask on; set VQCONTACTS_PASSWORD or give "
         "--password-file FILE\n"},
        {"an empty first line", {file("f", "\n" + utf8Password)}, {}, 1, "vqcontacts: the password is empty\n"},
        {"a file that is not there",
         {"--password-file", (temp.path() / "none").string()},
         {},
         1,
         "vqcontacts: cannot read the password file \"" + (temp.path() / "none").string() + "\"\n"},
    };
    std::size_t requests = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        std::vector<std::string> arguments = row.options;
        arguments.insert(arguments.end(), {"--user", "demo", "list"});
        const CliRun run = runCli(atPort(server.port(), arguments), row.environment);
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.err, row.err);
        const std::size_t now = server.requestLog().size();
        EXPECT_EQ(now > requests, row.status != 1) << "a run without a password asks the server nothing";
        requests = now;
    }
}

TEST(CliStatus, ARefusedCertificateIsNoContactFolderWithTheWindowsReason) {
    const TestAuthority authority;
    const IssuedCertificate issued = authority.issue("self-signed", selfSignedRequest());
    HttpMailServer secure(seededOverTls(issued.certificate, issued.key));
    const std::string port = std::to_string(secure.port());
    const CliRun run = runCli({"--server", "https://127.0.0.1", "--port", port, "list"}, demoLogin);
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "vqcontacts: The secure connection to https://127.0.0.1 on port " + port +
                           " was refused: not issued by an authority this computer trusts.\n\nThe server's "
                           "certificate has the SHA-256 fingerprint\n" +
                           fingerprintByOpenssl(issued.certificate) + "\n");
    EXPECT_TRUE(secure.requestLog().empty()) << "nothing is sent to a server that was refused";
}
