#include "contacts/ContactSave.h"

#include "codec/AsciiText.h"
#include "codec/Utf8.h"
#include "contacts/ContactTexts.h"
#include "contacts/RefusalText.h"

namespace {

using modWININET::HttpResult;

SaveReport failed(SaveStep step, WriteOutcome write, const HttpResult& answer) {
    SaveReport report{step, write, {}, {}};
    report.answer.status = answer.status;
    report.answer.failure = answer.failure;
    report.answer.reason = answer.reason;
    report.answer.certificate = answer.certificate;
    return report;
}

WriteOutcome readOutcome(const HttpResult& answer) {
    return judgeWrite(answer, WriteVerb::Put);
}

// The condition a write on the opened contact goes under; nullopt with the report when the
// server's bytes are no longer those opened (or could not be read).
// If-Match compares strongly: a weak ETag ("W/", as Apache gives a file changed within the last
// second) never matches, so it counts as none.
bool isStrong(const std::optional<std::string>& etag) {
    return etag && !etag->starts_with("W/");
}

std::optional<WriteCondition> conditionFor(const ContactFolder& folder, const OpenedContact& opened,
                                           SaveReport& report) {
    if (isStrong(opened.etag)) {
        return WriteCondition::ifMatch(*opened.etag);
    }
    HttpResult again = folder.get(opened.file);
    if (again.whole() && again.status == 404) {
        report = {SaveStep::Changed, WriteOutcome::Changed, {}, {}};
        return std::nullopt;
    }
    if (!again.succeeded()) {
        report = failed(SaveStep::Failed, readOutcome(again), again);
        return std::nullopt;
    }
    if (again.body != opened.bytes) {
        report = {SaveStep::Changed, WriteOutcome::Changed, {}, std::move(again.body)};
        return std::nullopt;
    }
    return WriteCondition::ifMatch(isStrong(again.etag) ? *again.etag : "*");
}

// A 412: what the server holds now, for the person to look at beside the edit.
SaveReport changedOnServer(const ContactFolder& folder, const std::string& file) {
    HttpResult now = folder.get(file);
    return {SaveStep::Changed, WriteOutcome::Changed, {}, now.succeeded() ? std::move(now.body) : std::string()};
}

SaveReport postInstead(const ContactFolder& folder, const OpenedContact& opened, const std::string& edited,
                       const WriteCondition& condition) {
    const HttpResult posted = folder.post(edited);
    if (!posted.succeeded()) {
        return failed(SaveStep::Failed, readOutcome(posted), posted);
    }
    const HttpResult deleted = folder.del(opened.file, condition);
    const WriteOutcome outcome = judgeWrite(deleted, WriteVerb::Delete);
    if (outcome != WriteOutcome::Done) {
        return failed(SaveStep::OldKept, outcome, deleted);
    }
    return {SaveStep::Posted, WriteOutcome::Done, {}, {}};
}

}  // namespace

SaveReport saveContact(const ContactFolder& folder, const OpenedContact& opened, const std::string& edited) {
    if (opened.file.empty()) {
        const HttpResult posted = folder.post(edited);
        return posted.succeeded() ? SaveReport{SaveStep::Posted, WriteOutcome::Done, {}, {}}
                                  : failed(SaveStep::Failed, readOutcome(posted), posted);
    }
    if (edited == opened.bytes) {
        return {SaveStep::Unchanged, WriteOutcome::Done, {}, {}};
    }
    SaveReport report;
    const std::optional<WriteCondition> condition = conditionFor(folder, opened, report);
    if (!condition) {
        return report;
    }
    const HttpResult put = folder.put(opened.file, edited, *condition);
    switch (const WriteOutcome outcome = judgeWrite(put, WriteVerb::Put)) {
        case WriteOutcome::Done: {
            HttpResult stored = folder.get(opened.file);
            if (!stored.succeeded()) {
                stored.body = edited;
            }
            return {SaveStep::Saved, outcome, {}, std::move(stored.body)};
        }
        case WriteOutcome::Changed: return changedOnServer(folder, opened.file);
        case WriteOutcome::NotAllowed: return postInstead(folder, opened, edited, *condition);
        default: return failed(SaveStep::Failed, outcome, put);
    }
}

std::u16string saveMessage(const LoginState& login, const SaveReport& report) {
    std::u16string why;
    switch (report.write) {
        case WriteOutcome::Done:
        case WriteOutcome::Changed: break;
        case WriteOutcome::Unauthorized: why = contacttext::authenticationError; break;
        case WriteOutcome::Forbidden: why = contacttext::forbiddenError; break;
        case WriteOutcome::SecureConnectionRefused: why = secureConnectionRefused(login, report.answer); break;
        case WriteOutcome::NotAllowed:
        case WriteOutcome::Failed: why = u"The server answered " + ascii::decimal(report.answer.status) + u"."; break;
        case WriteOutcome::LinkFailed:
            why = u"No whole answer came from " + login.server + u":" + ascii::decimal(login.port) + u": " +
                  utf8::decode(report.answer.reason) + u".";
            break;
    }
    switch (report.step) {
        case SaveStep::Unchanged:
        case SaveStep::Saved:
        case SaveStep::Posted: return {};
        case SaveStep::Changed:
            return u"The contact changed on the server since the editor opened it. Nothing was overwritten.";
        case SaveStep::OldKept:
            return u"The edited contact was saved as a new one, but the old version is still there. " + why;
        case SaveStep::Failed: return u"The contact was not saved. " + why;
    }
    return {};
}
