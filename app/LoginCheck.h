#pragma once
// What "Login" decides, apart from the widgets: whether the entries are acceptable, and the
// login state they give.

#include <QString>

#include <cstdint>
#include <optional>
#include <variant>

struct LoginEntries {
    QString username;
    QString password;
    QString server;
    QString port;
};

struct LoginValues {
    QString server;
    std::int32_t port = 0;
    QString authorization;
};

struct LoginRefusal {
    QString message;  // shown with the information icon and the login title
};

inline const QString kLoginTitle = QStringLiteral("Velqor Personal Contact Manager");
inline const QString kMissingEntryMessage =
    QStringLiteral("You must specify a valid Username, Password and Server to authenticate");
inline const QString kBadPortMessage =
    QStringLiteral("You must specify a valid Port between 1 and 65535");

// The port box's text, trimmed of blanks, as a whole number from 1 to 65535; nothing otherwise.
std::optional<std::int32_t> parsePort(const QString& text);

// "Basic " + Base64 of the Windows-1252 bytes of user + ":" + password, on one line.
QString authorizationFor(const QString& username, const QString& password);

// The refusal for the first entry that is wrong (empty user, password or server, then the port),
// or the login state the entries give. A text of blanks counts as filled.
std::variant<LoginRefusal, LoginValues> checkLogin(const LoginEntries& entries);
