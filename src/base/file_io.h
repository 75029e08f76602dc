#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>

namespace kx {

// Whole-file access. Writes go to a temporary file that then replaces the target, so a crash
// or a full disk never leaves a half-written file; false means nothing was replaced.
bool writeWholeFile(const QString& path, const QByteArray& bytes);
// The whole file, or nothing when it is missing or unreadable.
std::optional<QByteArray> readWholeFile(const QString& path);
// The file read into the front of into when it fits there: the bytes read, or its size when it
// does not fit (nothing read); nothing when it is missing or unreadable.
std::optional<qint64> readFileInto(const QString& path, std::span<std::uint8_t> into);
bool fileExists(const QString& path);
// Removes a file; a missing file is not an error.
void removeFile(const QString& path);

}  // namespace kx
