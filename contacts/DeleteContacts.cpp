#include "contacts/DeleteContacts.h"

#include "contacts/ParallelRuns.h"

#include <utility>

namespace {

using modWININET::HttpResult;

// If-Match compares strongly: a weak tag ("W/...", as Apache gives a file changed within the
// second) never matches, so the bytes just compared are the guard instead.
WriteCondition conditionFor(const HttpResult& got) {
    if (got.etag && !got.etag->starts_with("W/")) {
        return WriteCondition::ifMatch(*got.etag);
    }
    return WriteCondition::none();
}

// Whether the GET found the contact its line was made from.
bool sameAsListed(const HttpResult& got, const std::optional<CardFacts>& listed) {
    if (!listed) {
        return true;
    }
    if (!listed->bytesCame) {
        return false;  // nothing to compare with: the user never saw this contact's bytes
    }
    if (listed->etag && got.etag && *listed->etag != *got.etag) {
        return false;
    }
    return exactDigest(got.body) == listed->exact;
}

bool goneNow(const ContactFolder& folder, const std::string& file) {
    const HttpResult now = folder.get(file);
    return now.whole() && now.status == 404;
}

DeleteResult deleteOne(const ContactFolder& folder, const DeleteTarget& target) {
    DeleteResult result;
    HttpResult got = folder.get(target.file);
    result.answer = withoutBody(got);
    if (got.whole() && got.status == 404) {
        result.outcome = WriteOutcome::Done;
        result.absent = true;
        return result;
    }
    result.outcome = judgeWrite(got, WriteVerb::Put);  // a GET's answer judged as a write would be
    if (result.outcome != WriteOutcome::Done) {
        return result;
    }
    if (!sameAsListed(got, target.listed)) {
        result.outcome = WriteOutcome::Changed;
        return result;
    }
    const HttpResult answer = folder.del(target.file, conditionFor(got));
    result.answer = withoutBody(answer);
    result.outcome = judgeWrite(answer, WriteVerb::Delete);
    // If-Match fails on a contact that is gone too: a try again after the first DELETE's answer
    // was cut gets 412 for that first try's own success. A GET tells the two apart.
    if (result.outcome == WriteOutcome::Changed && goneNow(folder, target.file)) {
        result.outcome = WriteOutcome::Done;
    }
    if (result.outcome == WriteOutcome::Done) {
        result.bytes = std::move(got.body);
    }
    return result;
}

}  // namespace

HttpResult withoutBody(const HttpResult& answer) {
    HttpResult kept;
    kept.status = answer.status;
    kept.failure = answer.failure;
    kept.reason = answer.reason;
    kept.certificate = answer.certificate;
    kept.heardAny = answer.heardAny;
    kept.etag = answer.etag;
    return kept;
}

std::vector<DeleteResult> deleteContacts(const ContactFolder& folder, const std::vector<DeleteTarget>& targets,
                                         std::size_t width) {
    return resultsUntilRefused<DeleteResult>(targets.size(), width,
                                             [&](std::size_t i) { return deleteOne(folder, targets[i]); });
}
