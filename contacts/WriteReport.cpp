#include "contacts/WriteReport.h"

#include "contacts/WindowOutcome.h"

#include "codec/AsciiText.h"
#include "codec/CodePage.h"

#include <cstddef>

namespace {

// A message's sentences for one kind of failure: for one contact ("%" stands for its line), and
// for several ("%" for how many). REASON goes where the answer's reason belongs.
struct Sentences {
    std::u16string_view one;
    std::u16string_view several;
};

struct Texts {
    Sentences changed;
    std::u16string_view notAllowed;
    Sentences failed;
};

constexpr Texts kDeleteTexts{
    {u"The contact \u201c%\u201d changed on the server since it was listed, so it was not deleted. "
     u"Refresh shows it.",
     u"% contacts changed on the server since they were listed, so they were not deleted. Refresh shows them."},
    u"This server does not allow deleting contacts.",
    {u"The contact \u201c%\u201d could not be deleted: REASON. Its line stays.",
     u"% contacts could not be deleted (the first: REASON). Their lines stay."},
};

constexpr Texts kRestoreTexts{
    {u"The contact \u201c%\u201d could not be brought back: the server refused it (412). Undo Delete tries again.",
     u"% contacts could not be brought back: the server refused them (412). Undo Delete tries again."},
    u"This server does not allow adding contacts.",
    {u"The contact \u201c%\u201d could not be brought back: REASON. Undo Delete tries again.",
     u"% contacts could not be brought back (the first: REASON). Undo Delete tries again."},
};

// The sentence with "%" and "REASON" filled in one pass, so that neither filling is read for the
// other's mark: a contact's name may hold either.
std::u16string filled(std::u16string_view sentence, std::u16string_view named, std::u16string_view reason) {
    constexpr std::u16string_view kReason = u"REASON";
    std::u16string out;
    for (std::size_t at = 0; at < sentence.size();) {
        if (sentence[at] == u'%') {
            out += named;
            ++at;
        } else if (sentence.substr(at).starts_with(kReason)) {
            out += reason;
            at += kReason.size();
        } else {
            out += sentence[at++];
        }
    }
    return out;
}

std::u16string reasonOf(const modWININET::HttpResult& answer) {
    if (answer.failure != modWININET::Failure::None) {
        return codepage::fromWindows1252(answer.reason);
    }
    return u"the server answered " + ascii::decimal(answer.status);
}

template <typename Result>
std::u16string report(const LoginState& login, const std::vector<std::u16string>& lines,
                      const std::vector<Result>& results, const Texts& texts) {
    std::vector<std::size_t> changed;
    std::vector<std::size_t> failed;
    bool notAllowed = false;
    for (std::size_t i = 0; i < results.size(); ++i) {
        switch (results[i].outcome) {
            case WriteOutcome::Done: break;
            case WriteOutcome::Unauthorized:
            case WriteOutcome::Forbidden:
            case WriteOutcome::SecureConnectionRefused:
                return windowEnding(login, judgeRequest(results[i].answer)).prompt;
            case WriteOutcome::NotAllowed: notAllowed = true; break;
            case WriteOutcome::Changed: changed.push_back(i); break;
            case WriteOutcome::LinkFailed:
            case WriteOutcome::Failed: failed.push_back(i); break;
        }
    }
    std::u16string message;
    const auto add = [&](const std::u16string& sentence) {
        message += (message.empty() ? u"" : u"\n\n") + sentence;
    };
    const auto addGroup = [&](const std::vector<std::size_t>& group, const Sentences& sentences) {
        if (group.empty()) {
            return;
        }
        const bool one = group.size() == 1;
        add(filled(one ? sentences.one : sentences.several, one ? lines[group.front()] : ascii::decimal(group.size()),
                   reasonOf(results[group.front()].answer)));
    };
    if (notAllowed) {
        add(std::u16string(texts.notAllowed));
    }
    addGroup(changed, texts.changed);
    addGroup(failed, texts.failed);
    return message;
}

}  // namespace

std::u16string deleteReport(const LoginState& login, const std::vector<std::u16string>& lines,
                            const std::vector<DeleteResult>& results) {
    return report(login, lines, results, kDeleteTexts);
}

std::u16string restoreReport(const LoginState& login, const std::vector<std::u16string>& lines,
                             const std::vector<RestoreResult>& results) {
    return report(login, lines, results, kRestoreTexts);
}
