#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitOutcome.h"
#include "contacts/DropUploads.h"

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
            const Verdict verdict = judgeRequest("POST", folder.post(std::string(bodies[i][card])));
            progress.show(++done);
            if (verdict.outcome == Outcome::Done) {
                continue;
            }
            const int status = reportRequest(folder, verdict, subject);
            // A refused login, or a server that cannot be reached, would refuse every card alike. A
            // card that may have been stored is named, and the rest go on.
            if (isRefusal(verdict.outcome) || verdict.outcome == Outcome::Unreachable) {
                return status;
            }
            ++failed;
        }
    }
    return exitStatusOf(failed == 0 ? Outcome::Done : Outcome::SomeFailed);
}
