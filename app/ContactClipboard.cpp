#include "app/ContactClipboard.h"

#include <QMimeData>

namespace {

const char* const kVcardTypes[] = {"text/vcard", "text/x-vcard", "text/directory"};

}  // namespace

std::unique_ptr<QMimeData> contactMimeData(const std::string& bytes, const QString& text,
                                           const QString& suggestedName) {
    auto data = std::make_unique<QMimeData>();
    const QByteArray card = QByteArray::fromStdString(bytes);
    data->setData(QStringLiteral("text/vcard"), card);
    data->setData(QStringLiteral("text/x-vcard"), card);
    data->setText(text);
    if (!suggestedName.isEmpty()) {
        data->setData(QStringLiteral("application/x-kde-suggestedfilename"), suggestedName.toUtf8());
    }
    return data;
}

DropFormats dropFormatsOf(const QMimeData& data) {
    DropFormats formats;
    if (data.hasFormat(QStringLiteral("text/uri-list"))) {
        formats.uriList = data.data(QStringLiteral("text/uri-list")).toStdString();
    }
    for (const char* type : kVcardTypes) {
        if (data.hasFormat(QString::fromLatin1(type))) {
            formats.vcardData = data.data(QString::fromLatin1(type)).toStdString();
            break;
        }
    }
    return formats;
}

PasteFormats pasteFormatsOf(const QMimeData& data) {
    PasteFormats formats{dropFormatsOf(data), std::nullopt};
    if (data.hasText()) {
        formats.plainText = data.text().toUtf8().toStdString();
    }
    return formats;
}
