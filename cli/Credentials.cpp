#include "cli/Credentials.h"

#include "cli/LocalError.h"
#include "cli/Password.h"
#include "codec/Utf8.h"
#include "contacts/BasicAuthorization.h"

#include <cstdlib>

LoginState loginFor(const CommandLine& line) {
    const char* environmentUser = std::getenv("VQCONTACTS_USER");
    const std::string user = line.user ? *line.user : environmentUser ? environmentUser : "";
    if (user.empty()) {
        throw LocalError("no user name: give --user NAME or set VQCONTACTS_USER");
    }
    const std::string password = readPassword(line.passwordFile, std::getenv("VQCONTACTS_PASSWORD"),
                                              "Password for " + user + " at " + line.server + ": ");
    return {utf8::decodeOrWindows1252(line.server), line.port,
            basicAuthorization(utf8::decodeOrWindows1252(user), utf8::decodeOrWindows1252(password))};
}
