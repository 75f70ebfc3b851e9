#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/FolderListing.h"
#include "contacts/DropUploads.h"

namespace {

using modWININET::Failure;

// A refused login, or a server that cannot be reached at all, would refuse every card alike.
bool stopsTheUpload(const modWININET::HttpResult& answer) {
    return answer.status == 401 || answer.status == 403 || answer.failure == Failure::InvalidServer ||
           answer.failure == Failure::NoConnection || answer.failure == Failure::Certificate ||
           answer.failure == Failure::TlsHandshake;
}

}  // namespace

int uploadCommand(const ContactFolder& folder, const std::vector<UploadItem>& items) {
    std::vector<std::vector<std::string_view>> bodies;
    std::size_t total = 0;
    for (const UploadItem& item : items) {
        total += bodies.emplace_back(dropUploads(item.bytes)).size();
    }
    Progress progress(total);
    std::size_t done = 0;
    std::size_t failed = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (bodies[i].empty()) {
            ++failed;
            tell(items[i].label + " is not in VCF format; nothing of it was uploaded");
        }
        for (std::size_t card = 0; card < bodies[i].size(); ++card) {
            const std::string subject = items[i].label + ", card " + std::to_string(card + 1);
            if (isCutCard(bodies[i][card])) {
                tell(subject + " lacks \"END:VCARD\"; it goes up as it is");
            }
            const modWININET::HttpResult answer = folder.post(std::string(bodies[i][card]));
            progress.show(++done);
            if (answer.succeeded()) {
                continue;
            }
            if (stopsTheUpload(answer)) {
                return reportFailedAnswer(folder, answer, subject);
            }
            ++failed;
            reportFailedAnswer(folder, answer, subject);
        }
    }
    return failed == 0 ? exitDone : exitSomeFailed;
}
