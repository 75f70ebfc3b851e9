#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/FolderListing.h"
#include "codec/Utf8.h"

int showCommand(const ContactFolder& folder, const std::string& file) {
    const modWININET::HttpResult answer = folder.get(utf8::decodeOrWindows1252(file));
    if (!answer.whole() || answer.status >= 300) {
        return reportFailedAnswer(answer, "contact " + quoted(file));
    }
    writeData(answer.body);
    return exitDone;
}
