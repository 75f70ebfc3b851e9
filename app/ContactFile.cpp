#include "app/ContactFile.h"

#include <QSaveFile>

std::optional<QString> writeContactFile(const QString& path, const std::string& bytes) {
    QSaveFile file(path);
    // Never written in place: a folder where no temporary file can go gets nothing.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}
