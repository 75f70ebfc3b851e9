#include "contacts/FolderListing.h"

#include <utility>

FolderListing listFolder(const ContactFolder& folder) {
    modWININET::HttpResult answer = folder.propfind();
    FolderListing listing{judgeListing(answer), {}};
    if (listing.verdict.outcome == Outcome::Done) {
        listing.files = contactFiles(std::move(answer));
    }
    return listing;
}

Verdict fetchFolder(const ContactFolder& folder, const std::vector<std::string>& files,
                    const std::function<void(std::size_t, modWININET::HttpResult&&)>& deliver) {
    Verdict verdict;
    std::size_t delivered = 0;
    const FetchEnding ending = fetchInOrder(
        files.size(), [&](std::size_t i, const BodyGate& gate) { return folder.getOnce(files[i], gate); },
        [&](std::size_t i, modWININET::HttpResult&& card) {
            Verdict judged = judgeRequest(card);
            if (stopsListing(judged.outcome)) {
                // A refused login or secure connection refuses every request after it alike.
                verdict = std::move(judged);
                return false;
            }
            if (judged.outcome != Outcome::Done) {
                verdict.outcome = Outcome::SomeFailed;
            }
            deliver(i, std::move(card));
            delivered = i + 1;
            return true;
        },
        folder.pause());
    if (ending.end == FetchEnd::ServerStopped) {
        verdict.outcome = Outcome::ServerStopped;
        verdict.cause = ending.cause;
    }
    verdict.listed = delivered;
    verdict.total = files.size();
    return verdict;
}
