#include "base/settings.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include "base/file_io.h"

namespace kx {

namespace {

// The format's own limit; no file the program writes comes near it.
constexpr int kMaxLines = 500;

QStringList readLines(const QString& path) {
    auto bytes = readWholeFile(path);
    if (!bytes) return {};
    return settingsLines(decodeCp936(*bytes));
}

bool writeLines(const QString& path, const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + "\r\n";
    return writeWholeFile(path, encodeCp936(text));
}

}  // namespace

QString decodeCp936(const QByteArray& bytes) {
    QStringDecoder decoder("GBK");
    if (!decoder.isValid()) return QString::fromLocal8Bit(bytes);
    return decoder.decode(bytes);
}

QByteArray encodeCp936(const QString& text) {
    QStringEncoder encoder("GBK");
    if (!encoder.isValid()) return text.toLocal8Bit();
    return encoder.encode(text);
}

QStringList settingsLines(const QString& text) {
    QStringList lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith('\r')) line.chop(1);
    }
    return lines;
}

QString Fun_IniRead(const QString& path, const QString& key) {
    const QString prefix = key + "=";
    QString value;
    for (const QString& line : readLines(path)) {
        if (line.startsWith(prefix)) value = line.mid(prefix.size());
    }
    return value;
}

int iniReadInt(const QString& path, const QString& key) {
    bool ok = false;
    const int value = Fun_IniRead(path, key).trimmed().toInt(&ok);
    return ok ? value : 0;
}

bool Fun_IniWrite(const QString& path, const QString& key, const QString& value) {
    const QString entry = key + "=" + value;
    if (!fileExists(path)) return writeLines(path, {entry});
    QStringList lines = readLines(path).mid(0, kMaxLines);
    bool replaced = false;
    for (QString& line : lines) {
        if (line.startsWith(key + "=")) {
            line = entry;
            replaced = true;
        }
    }
    if (!replaced) lines.append(entry);
    return writeLines(path, lines);
}

QString Fun_ReadText(const QString& path) {
    QString text;
    for (const QString& line : readLines(path))
        text += line + "\r\n";
    return text;
}

bool Fun_WriteText(const QString& path, const QString& text) {
    return writeWholeFile(path, encodeCp936(text + "\r\n"));
}

qint64 Fun_FileSize(const QString& path) {
    if (path.isEmpty()) return 0;
    QFileInfo info(path);
    return info.isFile() ? info.size() : 0;
}

}  // namespace kx
