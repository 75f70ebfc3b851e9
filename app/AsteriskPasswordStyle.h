#pragma once
// Password boxes show "*" for each character typed, not the style's bullet.

#include <QProxyStyle>

class AsteriskPasswordStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) {
            return u'*';
        }
        if (hint == SH_LineEdit_PasswordMaskDelay) {
            return 0;  // never flash the last character typed
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
