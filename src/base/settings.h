#pragma once

#include <QString>
#include <QStringList>

namespace kx {

// Settings files: code page 936 text, one key=value entry a line, CR LF line ends, no sections.
// A line belongs to key K when it begins with exactly K followed by "=". Keys are
// case-sensitive; when several lines match, the last one wins.

// Value of key in the file; "" when the file or the key is missing.
QString Fun_IniRead(const QString& path, const QString& key);
// Integer value of key; 0 when missing or not a number.
int iniReadInt(const QString& path, const QString& key);
// Rewrites every line of key (appends one when none matched; creates the file when missing).
// False when the file could not be written.
bool Fun_IniWrite(const QString& path, const QString& key, const QString& value);

// The whole file as text, every line followed by CR LF (also the last); "" when missing.
QString Fun_ReadText(const QString& path);
// Replaces the file by text + CR LF. False when it could not be written.
bool Fun_WriteText(const QString& path, const QString& text);
// Size in bytes; 0 when missing or not measurable.
qint64 Fun_FileSize(const QString& path);

// Code page 936 at the file boundary; inside the program all text is Unicode.
QString decodeCp936(const QByteArray& bytes);
QByteArray encodeCp936(const QString& text);

// Splits settings-file text into its lines (CR LF, or a lone LF from a hand edit).
QStringList settingsLines(const QString& text);

}  // namespace kx
