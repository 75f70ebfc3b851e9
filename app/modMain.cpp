#include "app/modMain.h"

#include <utility>

namespace modMain {

LoginState loginState;
LoginText sServer{loginState.server};
std::int32_t& lPort = loginState.port;
LoginText sAuthorization{loginState.authorization};

LoginText& LoginText::operator=(const LoginText& other) {
    m_field = other.m_field;
    return *this;
}

LoginText& LoginText::operator=(const QString& text) {
    m_field = text.toStdU16String();
    return *this;
}

LoginText& LoginText::operator=(std::u16string text) {
    m_field = std::move(text);
    return *this;
}

LoginText::operator QString() const {
    return QString::fromStdU16String(m_field);
}

bool operator==(const LoginText& left, const QString& right) {
    return QStringView(left.m_field) == right;
}

}  // namespace modMain
