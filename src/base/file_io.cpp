#include "base/file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kx {

bool writeWholeFile(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::optional<QByteArray> readWholeFile(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

bool fileExists(const QString& path) {
    if (path.isEmpty()) return false;
    QFileInfo info(path);
    return info.exists() && info.isFile();
}

void removeFile(const QString& path) {
    if (!path.isEmpty()) QFile::remove(path);
}

}  // namespace kx
