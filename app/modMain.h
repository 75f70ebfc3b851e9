#pragma once
// The login state: written only by frmLogin, all of it at once after a successful login, and read
// by every contact operation. Held in memory for the life of the process, never on disk; the
// password itself is not kept, only the ready-made Authorization value.

#include "contacts/LoginState.h"

#include <QString>

#include <cstdint>
#include <string>

namespace modMain {

// The one copy of the login state; the contact client takes it as it is, with no conversion.
extern LoginState loginState;

// One text field of loginState under the QString face the names below have always had: code that
// assigns them a QString (or a string literal), compares them with one or reads them into one
// still compiles and works, and the text lives only in loginState.
class LoginText {
public:
    constexpr explicit LoginText(std::u16string& field) : m_field(field) {}
    // A copy would be a second name for the same field, not a copy of its text.
    LoginText(const LoginText&) = delete;
    ~LoginText() = default;

    LoginText& operator=(const LoginText& other);
    LoginText& operator=(const QString& text);
    LoginText& operator=(std::u16string text);

    operator QString() const;  // implicit: reads into a QString as it always did
    const std::u16string& toStdU16String() const { return m_field; }
    QString toString() const { return *this; }
    bool isEmpty() const { return m_field.empty(); }
    bool empty() const { return m_field.empty(); }
    void clear() { m_field.clear(); }

    friend bool operator==(const LoginText& left, const QString& right);
    friend bool operator==(const LoginText& left, const std::u16string& right) { return left.m_field == right; }

private:
    std::u16string& m_field;
};

extern LoginText sServer;         // host name or address exactly as typed; empty before a login
extern std::int32_t& lPort;       // 0 before a login
extern LoginText sAuthorization;  // "Basic " + Base64 of user:password, one line; empty before

}  // namespace modMain
