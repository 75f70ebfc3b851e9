#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ContactFetch.h"
#include "cli/ContactFileText.h"
#include "cli/ExitStatus.h"
#include "cli/ExportFolder.h"
#include "cli/ExportName.h"
#include "cli/FolderListing.h"

namespace {

struct NamedFiles {
    std::vector<std::u16string> files;  // the contacts to fetch, in folder order
    std::vector<std::string> names;     // the name each is stored under
    std::size_t skipped = 0;
};

// "." and ".." are no names at all; any other leading dot would make a hidden file.
bool isHiddenName(std::string_view name) {
    return name.starts_with('.') && name != "." && name != "..";
}

NamedFiles namedFiles(std::vector<std::u16string> files) {
    NamedFiles named;
    for (std::u16string& file : files) {
        if (std::optional<std::string> name = exportFileName(contactFileBytes(file))) {
            named.names.push_back(std::move(*name));
            named.files.push_back(std::move(file));
        } else {
            ++named.skipped;
            const std::string bytes = contactFileBytes(file);
            tell("contact " + inQuotes(bytes) +
                 (isHiddenName(bytes) ? " refused: a name starting with \".\" would make a hidden file"
                                      : " skipped: its name is no plain file name"));
        }
    }
    return named;
}

int exportToFolder(const ContactFolder& folder, const std::string& target) {
    // Made before anything is asked of the server: a folder that cannot be written fails at once.
    const ExportFolder out(target);
    std::variant<std::vector<std::u16string>, int> listing = listFolder(folder);
    if (const int* status = std::get_if<int>(&listing)) {
        return *status;
    }
    const NamedFiles named = namedFiles(std::move(std::get<std::vector<std::u16string>>(listing)));
    std::size_t unwritten = 0;
    const std::size_t failed =
        fetchContacts(folder, named.files, [&](std::size_t i, std::optional<std::string>&& vcard) {
            if (!vcard) {
                return true;
            }
            const std::string path = inQuotes((std::filesystem::path(target) / named.names[i]).string());
            const StoreResult stored = out.store(named.names[i], *vcard);
            if (stored.outcome == StoreOutcome::Clash) {
                tell(path + " holds other bytes than the contact; not overwritten");
            } else if (stored.outcome == StoreOutcome::Failed) {
                tell("cannot write " + path + ": " + stored.error);
            }
            unwritten += stored.outcome == StoreOutcome::Clash || stored.outcome == StoreOutcome::Failed;
            return true;
        });
    return named.skipped + failed + unwritten == 0 ? exitDone : exitSomeFailed;
}

int exportToStandardOutput(const ContactFolder& folder) {
    std::variant<std::vector<std::u16string>, int> listing = listFolder(folder);
    if (const int* status = std::get_if<int>(&listing)) {
        return *status;
    }
    const std::size_t failed = fetchContacts(folder, std::get<std::vector<std::u16string>>(listing),
                                             [](std::size_t, std::optional<std::string>&& vcard) {
                                                 if (vcard) {
                                                     writeData(*vcard);
                                                 }
                                                 return true;
                                             });
    return failed == 0 ? exitDone : exitSomeFailed;
}

}  // namespace

int exportCommand(const ContactFolder& folder, const std::string& target) {
    return target == "-" ? exportToStandardOutput(folder) : exportToFolder(folder, target);
}
