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
                    const std::function<void(std::size_t, modWININET::HttpResult&&)>& deliver, std::size_t width) {
    Verdict verdict;
    std::size_t delivered = 0;
    const FetchEnd end = fetchInOrder(
        files.size(), [&](std::size_t i) { return folder.getOnce(files[i]); },
        [&](std::size_t i, modWININET::HttpResult&& card) {
            if (card.failure == modWININET::Failure::Certificate) {
                // The server now shows a certificate that fails: nothing more is taken from it.
                verdict = judgeRequest(card);
                return false;
            }
            if (!card.succeeded()) {
                verdict.outcome = Outcome::SomeFailed;
            }
            deliver(i, std::move(card));
            delivered = i + 1;
            return true;
        },
        width);
    if (end == FetchEnd::ServerStopped) {
        verdict.outcome = Outcome::ServerStopped;
    }
    verdict.listed = delivered;
    verdict.total = files.size();
    return verdict;
}
