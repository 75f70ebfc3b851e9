#pragma once
// What a run of vqcontacts was asked to do, read from its arguments without touching anything.

#include "contacts/PortText.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

enum class Command { List, Show, Export, Upload, Delete, Duplicates, Edit };

struct CommandLine {
    std::string server = "127.0.0.1";  // the login dialog's design values
    std::int32_t port = 8080;
    std::optional<std::string> user;
    std::optional<std::filesystem::path> passwordFile;
    Command command = Command::List;
    std::vector<std::string> operands;  // show, edit: FILE; export: DIR or "-"; upload, delete: FILE...
    bool yes = false;                   // delete --yes: no question on the terminal
};

struct HelpRequest {};
struct VersionRequest {};
struct UsageError {
    std::string message;  // plain words naming the argument at fault
};

using ParsedCommandLine = std::variant<CommandLine, HelpRequest, VersionRequest, UsageError>;

// Options come before the command ("--name VALUE" or "--name=VALUE"); "--" ends them, so that a
// command's operand may start with "-". Everything after the command is its operands, but for
// delete's own "--yes" and "--" before its first FILE. --help and
// --version answer at once: what follows them is not read.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);

// What --help prints.
std::string usageText();
