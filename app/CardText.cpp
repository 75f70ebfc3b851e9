#include "app/CardText.h"

#include "codec/CodePage.h"
#include "codec/Utf8.h"
#include "contacts/VCardLayout.h"

CardText cardText(const std::string& bytes) {
    CardText shown;
    shown.utf8 = utf8::isValid(bytes);
    shown.lineEnd = cardLayout(bytes).lineEnd;
    std::u16string text = shown.utf8 ? utf8::decode(bytes) : codepage::fromWindows1252(bytes);
    shown.text = QString::fromStdU16String(text);
    // The card's own line end first: CR CR LF would otherwise leave a CR at each line's end.
    shown.text.replace(QString::fromLatin1(shown.lineEnd.data(), static_cast<qsizetype>(shown.lineEnd.size())),
                       QLatin1String("\n"));
    shown.text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

std::string cardBytes(const QString& text, const CardText& shown) {
    QString withEnds = text;
    withEnds.replace(QLatin1String("\n"),
                     QString::fromLatin1(shown.lineEnd.data(), static_cast<qsizetype>(shown.lineEnd.size())));
    const std::u16string chars = withEnds.toStdU16String();
    return shown.utf8 ? utf8::encode(chars) : codepage::windows1252Bytes(chars);
}
