// The arguments of vqcontacts: what each form asks for, and the usage errors of bad ones.

#include "cli/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using Arguments = std::vector<std::string>;

std::string usageError(const Arguments& arguments) {
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    const UsageError* error = std::get_if<UsageError>(&parsed);
    return error ? error->message : "(accepted)";
}

}  // namespace

TEST(CommandLine, OptionsBeforeTheCommandAndItsOperands) {
    const ParsedCommandLine parsed = parseCommandLine({"--server", "mail.example.com", "--port=8443", "--user", "jane",
                                                       "--password-file", "/run/pw", "upload", "a.vcf", "-", "--port"});
    ASSERT_TRUE(std::holds_alternative<CommandLine>(parsed));
    const CommandLine& line = std::get<CommandLine>(parsed);
    EXPECT_EQ(line.server, "mail.example.com");
    EXPECT_EQ(line.port, 8443);
    EXPECT_EQ(line.user, "jane");
    EXPECT_EQ(line.passwordFile, std::filesystem::path("/run/pw"));
    EXPECT_EQ(line.command, Command::Upload);
    EXPECT_EQ(line.operands, (Arguments{"a.vcf", "-", "--port"})) << "after the command, all is operands";

    const CommandLine defaults = std::get<CommandLine>(parseCommandLine({"list"}));
    EXPECT_EQ(defaults.server, "127.0.0.1") << "the login dialog's design values";
    EXPECT_EQ(defaults.port, 8080);
    EXPECT_FALSE(defaults.user);
    EXPECT_FALSE(defaults.passwordFile);
    EXPECT_EQ(std::get<CommandLine>(parseCommandLine({"--", "export", "-"})).operands, Arguments{"-"});

    const CommandLine asked = std::get<CommandLine>(parseCommandLine({"delete", "a.vcf", "--yes"}));
    EXPECT_FALSE(asked.yes) << "--yes counts only before the first FILE";
    EXPECT_EQ(asked.operands, (Arguments{"a.vcf", "--yes"}));
    const CommandLine sure = std::get<CommandLine>(parseCommandLine({"delete", "--yes", "--", "--yes", "-b"}));
    EXPECT_TRUE(sure.yes);
    EXPECT_EQ(sure.operands, (Arguments{"--yes", "-b"})) << "after \"--\" every FILE is a file";
}

TEST(CommandLine, HelpAndVersionAnswerAtOnce) {
    EXPECT_TRUE(std::holds_alternative<HelpRequest>(parseCommandLine({"--help"})));
    EXPECT_TRUE(std::holds_alternative<HelpRequest>(parseCommandLine({"--port", "1", "-h", "nonsense"})));
    EXPECT_TRUE(std::holds_alternative<VersionRequest>(parseCommandLine({"--version", "list"})));
    EXPECT_TRUE(std::holds_alternative<UsageError>(parseCommandLine({"list", "--help"})))
        << "after the command --help is an operand, and list takes none";
}

TEST(CommandLine, UsageErrorsNameWhatIsWrong) {
    struct Row {
        const char* why;
        Arguments arguments;
        std::string message;
    };
    const Row rows[] = {
        {"nothing at all", {}, "no command given (list, show, export, upload, delete, duplicates or edit)"},
        {"only options",
         {"--user", "jane"},
         "no command given (list, show, export, upload, delete, duplicates or edit)"},
        {"a typo in the command",
         {"lsit"},
         "unknown command \"lsit\" (list, show, export, upload, delete, duplicates or edit)"},
        {"an unknown option", {"--verbose", "list"}, "unknown option \"--verbose\""},
        {"a single-dash option", {"-p", "80", "list"}, "unknown option \"-p\""},
        {"list with an operand", {"list", "x"}, "list takes nothing more, but got \"x\""},
        {"the value missing at the end", {"--server"}, "--server needs a value"},
        {"an empty server", {"--server=", "list"}, "--server needs a server name or address, not an empty text"},
        {"port zero", {"--port", "0", "list"}, "--port \"0\" is not a port number from 1 to 65535"},
        {"port above the range", {"--port", "65536", "list"}, "--port \"65536\" is not a port number from 1 to 65535"},
        {"a negative port", {"--port=-80", "list"}, "--port \"-80\" is not a port number from 1 to 65535"},
        {"a port with a sign", {"--port", "+80", "list"}, "--port \"+80\" is not a port number from 1 to 65535"},
        {"a port with a unit", {"--port", "80x", "list"}, "--port \"80x\" is not a port number from 1 to 65535"},
        {"a port beyond 32 bits",
         {"--port", "4294967376", "list"},
         "--port \"4294967376\" is not a port number from 1 to 65535"},
        {"an empty port", {"--port=", "list"}, "--port \"\" is not a port number from 1 to 65535"},
        {"show without a file", {"show"}, "show needs FILE"},
        {"show with two files", {"show", "a", "b"}, "show takes one FILE, but got \"b\""},
        {"export without a folder", {"export"}, "export needs DIR (or - for standard output)"},
        {"upload without files", {"upload"}, "upload needs FILE..."},
        {"delete without files", {"delete"}, "delete needs FILE..."},
        {"delete with its option only", {"delete", "--yes", "--"}, "delete needs FILE..."},
        {"duplicates with an operand", {"duplicates", "x"}, "duplicates takes nothing more, but got \"x\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(usageError(row.arguments), row.message);
    }
}

TEST(CommandLine, PortTextFollowsThePortBox) {
    struct Row {
        const char* why;
        std::string text;
        std::optional<std::int32_t> port;
    };
    const Row rows[] = {
        {"the smallest", "1", 1},
        {"the largest", "65535", 65535},
        {"blanks around are ignored, as in the box", " 8080\t", 8080},
        {"leading zeros are the same number", "008080", 8080},
        {"a blank inside is not", "80 80", std::nullopt},
        {"only blanks", "  ", std::nullopt},
        {"hex is not", "0x50", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(parsePortText(row.text), row.port);
    }
}
