#pragma once
// What the login button decides, apart from the widgets: whether the entries are acceptable, and
// the login state they give.

#include "app/AppTexts.h"
#include "contacts/LoginState.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

struct LoginEntries {
    QString username;
    QString password;
    QString server;
    QString port;
};

struct LoginRefusal {
    QString message;  // shown with the information icon and kLoginTitle
};

// The port box's text, trimmed of blanks, as a whole number from 1 to 65535; nothing otherwise.
std::optional<std::int32_t> parsePort(const QString& text);

// "Basic " + Base64 of the Windows-1252 bytes of user + ":" + password, on one line.
std::u16string authorizationFor(const QString& username, const QString& password);

// The refusal for the first entry that is wrong (kMissingEntryMessage for an empty user, password
// or server, then kBadPortMessage), or the login state the entries give, the server as typed.
// A text of blanks counts as filled.
std::variant<LoginRefusal, LoginState> checkLogin(const LoginEntries& entries);
