#include "app/LoginCheck.h"

#include "contacts/BasicAuthorization.h"
#include "contacts/PortText.h"

#include <string>

std::optional<std::int32_t> parsePort(const QString& text) {
    // Latin-1 is safe here: anything outside it is not a digit and fails the parse anyway.
    return parsePortText(text.trimmed().toLatin1().toStdString());
}

std::u16string authorizationFor(const QString& username, const QString& password) {
    return basicAuthorization(username.toStdU16String(), password.toStdU16String());
}

std::variant<LoginRefusal, LoginState> checkLogin(const LoginEntries& entries) {
    if (entries.username.isEmpty() || entries.password.isEmpty() || entries.server.isEmpty()) {
        return LoginRefusal{kMissingEntryMessage};
    }
    const std::optional<std::int32_t> port = parsePort(entries.port);
    if (!port) {
        return LoginRefusal{kBadPortMessage};
    }
    return LoginState{entries.server.toStdU16String(), *port, authorizationFor(entries.username, entries.password)};
}
