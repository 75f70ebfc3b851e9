#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ContactFetch.h"
#include "cli/ExitOutcome.h"
#include "cli/ExportFolder.h"
#include "contacts/ExportName.h"
#include "contacts/FolderListing.h"

namespace {

struct NamedFiles {
    std::vector<std::string> files;  // the contacts to fetch, in folder order
    std::vector<std::string> names;  // the name each is stored under
    std::size_t skipped = 0;
};

// "." and ".." are no names at all; any other leading dot would make a hidden file.
bool isHiddenName(std::string_view name) {
    return name.starts_with('.') && name != "." && name != "..";
}

NamedFiles namedFiles(std::vector<std::string> files) {
    NamedFiles named;
    for (std::string& file : files) {
        if (std::optional<std::string> name = exportFileName(file)) {
            named.names.push_back(std::move(*name));
            named.files.push_back(std::move(file));
        } else {
            ++named.skipped;
            tell("contact " + inQuotes(file) +
                 (isHiddenName(file) ? " refused: a name starting with \".\" would make a hidden file"
                                     : " skipped: its name is no plain file name"));
        }
    }
    return named;
}

int exportToFolder(const ContactFolder& folder, const std::string& target) {
    // Made before anything is asked of the server: a folder that cannot be written fails at once.
    const ExportFolder out(target);
    FolderListing listing = listFolder(folder);
    if (listing.verdict.outcome != Outcome::Done) {
        return reportListing(folder, listing.verdict);
    }
    const NamedFiles named = namedFiles(std::move(listing.files));
    std::size_t unwritten = 0;
    const Verdict fetched = fetchContacts(folder, named.files, [&](std::size_t i, std::optional<std::string>&& vcard) {
        if (!vcard) {
            return;
        }
        const std::string path = inQuotes((std::filesystem::path(target) / named.names[i]).string());
        const StoreResult stored = out.store(named.names[i], *vcard);
        if (stored.outcome == StoreOutcome::Clash) {
            tell(path + " holds other bytes than the contact; not overwritten");
        } else if (stored.outcome == StoreOutcome::Failed) {
            tell("cannot write " + path + ": " + stored.error);
        }
        unwritten += stored.outcome == StoreOutcome::Clash || stored.outcome == StoreOutcome::Failed;
    });
    // A name that could not be written fails that contact alone, as a failed GET does.
    const bool allWritten = named.skipped + unwritten == 0;
    return exitStatusOf(fetched.outcome == Outcome::Done && !allWritten ? Outcome::SomeFailed : fetched.outcome);
}

int exportToStandardOutput(const ContactFolder& folder) {
    const FolderListing listing = listFolder(folder);
    if (listing.verdict.outcome != Outcome::Done) {
        return reportListing(folder, listing.verdict);
    }
    const Verdict fetched = fetchContacts(folder, listing.files, [](std::size_t, std::optional<std::string>&& vcard) {
        if (vcard) {
            writeData(*vcard);
        }
    });
    return exitStatusOf(fetched.outcome);
}

}  // namespace

int exportCommand(const ContactFolder& folder, const std::string& target) {
    return target == "-" ? exportToStandardOutput(folder) : exportToFolder(folder, target);
}
