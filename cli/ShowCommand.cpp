#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ContactFileText.h"
#include "cli/ExitStatus.h"
#include "cli/FolderListing.h"
#include "cli/ListField.h"

int showCommand(const ContactFolder& folder, const std::string& field) {
    const std::string file = fromListField(field);
    const modWININET::HttpResult answer = folder.get(contactFileText(file));
    if (!answer.succeeded()) {
        return reportFailedAnswer(folder, answer, "contact " + inQuotes(file));
    }
    writeData(answer.body);
    return exitDone;
}
