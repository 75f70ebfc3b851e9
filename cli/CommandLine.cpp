#include "cli/CommandLine.h"

#include <string_view>

namespace {

struct CommandForm {
    std::string_view name;
    Command command;
    std::size_t minOperands;
    std::size_t maxOperands;
    std::string_view operandName;
};

constexpr std::size_t any = static_cast<std::size_t>(-1);
constexpr CommandForm commandForms[] = {
    {"list", Command::List, 0, 0, ""},
    {"show", Command::Show, 1, 1, "FILE"},
    {"export", Command::Export, 1, 1, "DIR (or - for standard output)"},
    {"upload", Command::Upload, 1, any, "FILE..."},
    {"delete", Command::Delete, 1, any, "FILE..."},
    {"duplicates", Command::Duplicates, 0, 0, ""},
    {"edit", Command::Edit, 1, 1, "FILE"},
};

// The value of "--name VALUE" or "--name=VALUE"; nullopt when the argument is another option.
// Moves index past what it took; a missing value is a usage error.
std::optional<std::variant<std::string, UsageError>> optionValue(std::string_view name,
                                                                 const std::vector<std::string>& arguments,
                                                                 std::size_t& index) {
    const std::string_view argument = arguments[index];
    if (argument.size() > name.size() && argument.starts_with(name) && argument[name.size()] == '=') {
        return std::string(argument.substr(name.size() + 1));
    }
    if (argument != name) {
        return std::nullopt;
    }
    if (index + 1 >= arguments.size()) {
        return UsageError{std::string(name) + " needs a value"};
    }
    return arguments[++index];
}

std::optional<UsageError> applyOption(CommandLine& line, std::string_view name, const std::string& text) {
    if (name == "--server") {
        if (text.empty()) {
            return UsageError{"--server needs a server name or address, not an empty text"};
        }
        line.server = text;
    } else if (name == "--port") {
        const std::optional<std::int32_t> port = parsePortText(text);
        if (!port) {
            return UsageError{"--port \"" + text + "\" is not a port number from 1 to 65535"};
        }
        line.port = *port;
    } else if (name == "--user") {
        line.user = text;
    } else {
        line.passwordFile = std::filesystem::path(text);
    }
    return std::nullopt;
}

// delete's "--yes" and a "--" that ends its options, before the first FILE; a FILE that starts
// with "-" comes after "--".
void takeDeleteOptions(CommandLine& line) {
    std::size_t taken = 0;
    while (taken < line.operands.size() && (line.operands[taken] == "--yes" || line.operands[taken] == "-y")) {
        line.yes = true;
        ++taken;
    }
    if (taken < line.operands.size() && line.operands[taken] == "--") {
        ++taken;
    }
    line.operands.erase(line.operands.begin(), line.operands.begin() + static_cast<std::ptrdiff_t>(taken));
}

std::variant<CommandLine, UsageError> withCommand(CommandLine line, const std::vector<std::string>& arguments,
                                                  std::size_t index) {
    if (index >= arguments.size()) {
        return UsageError{"no command given (list, show, export, upload, delete, duplicates or edit)"};
    }
    const std::string& name = arguments[index];
    for (const CommandForm& form : commandForms) {
        if (form.name != name) {
            continue;
        }
        line.command = form.command;
        line.operands.assign(arguments.begin() + static_cast<std::ptrdiff_t>(index) + 1, arguments.end());
        if (form.command == Command::Delete) {
            takeDeleteOptions(line);
        }
        if (line.operands.size() < form.minOperands) {
            return UsageError{name + " needs " + std::string(form.operandName)};
        }
        if (line.operands.size() > form.maxOperands) {
            return UsageError{
                name + (form.maxOperands == 0 ? " takes nothing more" : " takes one " + std::string(form.operandName)) +
                ", but got \"" + line.operands[form.maxOperands] + "\""};
        }
        return line;
    }
    return UsageError{"unknown command \"" + name + "\" (list, show, export, upload, delete, duplicates or edit)"};
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    std::size_t index = 0;
    for (; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument == "--help" || argument == "-h") {
            return HelpRequest{};
        }
        if (argument == "--version") {
            return VersionRequest{};
        }
        if (argument == "--") {
            ++index;
            break;
        }
        if (!argument.starts_with("-") || argument == "-") {
            break;
        }
        std::optional<UsageError> error = UsageError{"unknown option \"" + argument + "\""};
        for (const std::string_view name : {"--server", "--port", "--user", "--password-file"}) {
            if (std::optional<std::variant<std::string, UsageError>> value = optionValue(name, arguments, index)) {
                const std::string* text = std::get_if<std::string>(&*value);
                error = text ? applyOption(line, name, *text) : std::get<UsageError>(*value);
                break;
            }
        }
        if (error) {
            return *error;
        }
    }
    return std::visit([](auto&& result) -> ParsedCommandLine { return std::forward<decltype(result)>(result); },
                      withCommand(std::move(line), arguments, index));
}

std::string usageText() {
    return "Usage: vqcontacts [--server TEXT] [--port N] [--user NAME] [--password-file FILE] COMMAND ...\n"
           "\n"
           "Commands:\n"
           "  list             one line per contact, in the folder's order: NAME, a tab, FILE\n"
           "  show FILE        that contact's bytes, exactly as the server sent them\n"
           "  export DIR       every contact into DIR/<file name>, byte for byte (DIR made if missing)\n"
           "  export -         every contact to standard output, one after another\n"
           "  upload FILE...   one POST per card, split as a drop splits (FILE \"-\" reads standard input)\n"
           "  delete [--yes] FILE...\n"
           "                   deletes those contacts (FILE as list writes it) after a question on the\n"
           "                   terminal, unless --yes; each only while it is the version just fetched\n"
           "  duplicates       the FILE of every contact whose card equals an earlier one's, one a line\n"
           "  edit FILE        that contact in $VISUAL, else $EDITOR, else vi; saved when changed\n"
           "\n"
           "Options:\n"
           "  --server TEXT         the mail server (default 127.0.0.1)\n"
           "  --port N              its port, 1 to 65535 (default 8080)\n"
           "  --user NAME           the user name (default: $VQCONTACTS_USER)\n"
           "  --password-file FILE  read the password from the first line of FILE\n"
           "  --help, --version\n"
           "\n"
           "The password comes from --password-file, else $VQCONTACTS_PASSWORD, else a prompt on the\n"
           "terminal. Exit status: 0 done, 1 usage or local error, 2 credentials rejected, 3 no contact\n"
           "folder, 4 some contacts failed (edit: a conflict or a failed save).\n";
}
