// edit through the built vqcontacts, with a small script as the person's editor.

#include "tests/cli/CliRun.h"
#include "tests/cli/TempFolder.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;

std::string named(const std::string& name) {
    return "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=ISO-8859-1:" + name +
           "\r\nX-KEEP;X-P=1:\xE9t\xE9\r\nEND:VCARD\r\n";
}

const std::string kCard = named("Ann");

}  // namespace

TEST(CliEdit, SavesAChangedCardAndKeepsWhatTheServerDoesNotHave) {
    struct Row {
        const char* why;
        std::string script;  // the editor, as a shell script run on the private file "$1"
        int status;
        std::string stored;  // the contact's bytes on the server afterwards
        bool kept;           // a private file with the edit stays
        std::string said;    // a part of what standard error says
        const char* editorVariable = "VISUAL";
    };
    const std::string renamed = named("Anne");
    const Row rows[] = {
        {"a changed card goes up by PUT, byte for byte", "sed -i s/:Ann/:Anne/ \"$1\"", 0, renamed, false, ""},
        {"unchanged: nothing sent", "true", 0, kCard, false, "unchanged: nothing was sent"},
        {"$EDITOR when $VISUAL is empty", "sed -i s/:Ann/:Anne/ \"$1\"", 0, renamed, false, "", "EDITOR"},
        {"no card any more: refused", "echo nope > \"$1\"", 1, kCard, true, "not one whole vCard any more"},
        {"an editor that fails: nothing sent", "sed -i s/:Ann/:Anne/ \"$1\"; exit 3", 1, kCard, true, "status 3"},
        {"an editor that deletes the file", "rm \"$1\"", 1, kCard, false, "is gone: nothing was sent"},
        {"changed on the server meanwhile: exit 4, nothing overwritten",
         "printf 'BEGIN:VCARD\\r\\nFN:Other\\r\\nEND:VCARD\\r\\n' > \"$SERVER_FILE\"; sed -i s/:Ann/:Anne/ \"$1\"", 4,
         "BEGIN:VCARD\r\nFN:Other\r\nEND:VCARD\r\n", true, "changed on the server since the editor opened it"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServer server;
        const TempFolder temp;
        const fs::path tmp = temp.path() / "tmp";
        fs::create_directory(tmp);
        std::ofstream(server.folder() / "a.vcf", std::ios::binary) << kCard;
        const fs::path script = temp.path() / "editor.sh";
        std::ofstream(script) << "#!/bin/sh\nstat -c %a \"$1\" > \"" << (temp.path() / "mode").string() << "\"\n"
                              << row.script << "\n";
        fs::permissions(script, fs::perms::owner_all);
        std::vector<std::string> environment = demoLogin;
        environment.insert(environment.end(),
                           {std::string(row.editorVariable) + "=" + script.string(),
                            std::string(row.editorVariable) == "EDITOR" ? "VISUAL=" : "EDITOR=",
                            "TMPDIR=" + tmp.string(), "SERVER_FILE=" + (server.folder() / "a.vcf").string()});
        const CliRun run = runCli(atPort(server.port(), {"edit", "a.vcf"}), environment);
        EXPECT_EQ(run.status, row.status) << run.err;
        EXPECT_NE(run.err.find(row.said), std::string::npos) << run.err;
        EXPECT_EQ(fileBytes(server.folder() / "a.vcf"), row.stored);
        EXPECT_EQ(fileBytes(temp.path() / "mode"), "600\n") << "only its owner reads the private file";
        const std::vector<std::string> left = namesIn(tmp);
        ASSERT_EQ(left.size(), row.kept ? 1u : 0u);
        if (row.kept) {
            EXPECT_NE(run.err.find((tmp / left[0]).string()), std::string::npos) << "the message names the kept file";
        }
    }
}
