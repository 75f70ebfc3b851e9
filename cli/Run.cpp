#include "cli/Run.h"

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/Credentials.h"
#include "cli/ExitStatus.h"
#include "cli/LocalError.h"

#include <exception>
#include <new>

namespace {

int runCommand(const CommandLine& line, const HttpExchange& http) {
    // The files to upload are read before the password is asked for: a mistyped name fails first.
    const std::vector<UploadItem> items =
        line.command == Command::Upload ? readUploadItems(line.operands) : std::vector<UploadItem>();
    const ContactFolder folder(loginFor(line), http);
    switch (line.command) {
        case Command::List: return listCommand(folder);
        case Command::Show: return showCommand(folder, line.operands.front());
        case Command::Export: return exportCommand(folder, line.operands.front());
        case Command::Upload: return uploadCommand(folder, items);
        case Command::Delete: return deleteCommand(folder, line.operands, line.yes);
        case Command::Duplicates: return duplicatesCommand(folder);
        case Command::Edit: return editCommand(folder, line.operands.front());
    }
    return exitLocalError;
}

}  // namespace

int runVqcontacts(const std::vector<std::string>& arguments, const std::string& version, const HttpExchange& http) {
    try {
        const ParsedCommandLine parsed = parseCommandLine(arguments);
        if (std::holds_alternative<HelpRequest>(parsed)) {
            writeData(usageText());
            return exitDone;
        }
        if (std::holds_alternative<VersionRequest>(parsed)) {
            writeData("vqcontacts " + version + "\n");
            return exitDone;
        }
        if (const UsageError* error = std::get_if<UsageError>(&parsed)) {
            tell(error->message);
            tell("try \"vqcontacts --help\" for the commands and options");
            return exitLocalError;
        }
        return runCommand(std::get<CommandLine>(parsed), http);
    } catch (const LocalError& error) {
        tell(error.what());
    } catch (const std::bad_alloc&) {
        tell("out of memory");
    } catch (const std::exception& error) {
        tell(error.what());
    }
    return exitLocalError;
}
