#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ContactFetch.h"
#include "cli/ExitOutcome.h"
#include "cli/ListField.h"
#include "contacts/CardDigest.h"
#include "contacts/FolderListing.h"

int duplicatesCommand(const ContactFolder& folder) {
    const FolderListing listing = listFolder(folder);
    if (listing.verdict.outcome != Outcome::Done) {
        return reportListing(folder, listing.verdict);
    }
    const std::vector<std::string>& files = listing.files;
    // A digest per contact, not its bytes: a big folder's cards stay on the server.
    std::vector<std::optional<CardDigest>> digests(files.size());
    const Verdict fetched = fetchContacts(folder, files, [&](std::size_t i, std::optional<std::string>&& vcard) {
        if (vcard) {
            digests[i] = copyDigest(*vcard);
        }
    });
    for (const std::size_t copy : laterCopies(digests)) {
        writeData(listField(files[copy]) + '\n');
    }
    return exitStatusOf(fetched.outcome);
}
