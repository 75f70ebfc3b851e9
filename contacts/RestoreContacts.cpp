#include "contacts/RestoreContacts.h"

#include "contacts/DeleteContacts.h"
#include "contacts/ParallelRuns.h"

namespace {

using modWININET::HttpResult;

RestoreResult posted(const ContactFolder& folder, const DeletedContact& contact) {
    const HttpResult answer = folder.post(contact.bytes);
    // A POST is never tried again; judged as a PUT would be, so a 404 is no success.
    return {judgeWrite(answer, WriteVerb::Put), RestoredAs::ServerName, withoutBody(answer)};
}

RestoreResult restoreOne(const ContactFolder& folder, const DeletedContact& contact) {
    const HttpResult put = folder.put(contact.file, contact.bytes, WriteCondition::ifNoneMatchAny());
    const WriteOutcome outcome = judgeWrite(put, WriteVerb::Put);
    if (outcome == WriteOutcome::NotAllowed) {
        return posted(folder, contact);
    }
    if (outcome != WriteOutcome::Changed) {
        return {outcome, RestoredAs::OwnName, withoutBody(put)};
    }
    // The name is taken: by these very bytes when a try again followed the PUT's own success, or
    // a server kept what it said it deleted. Then the contact is back already, and a POST would
    // make a second copy.
    const HttpResult there = folder.get(contact.file);
    if (there.succeeded() && there.body == contact.bytes) {
        return {WriteOutcome::Done, RestoredAs::OwnName, withoutBody(there)};
    }
    return posted(folder, contact);
}

}  // namespace

std::vector<RestoreResult> restoreContacts(const ContactFolder& folder, const std::vector<DeletedContact>& contacts,
                                           std::size_t width) {
    return resultsUntilRefused<RestoreResult>(contacts.size(), width,
                                              [&](std::size_t i) { return restoreOne(folder, contacts[i]); });
}
