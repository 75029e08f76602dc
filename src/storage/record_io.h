#pragma once

#include <QString>
#include <cstdint>
#include <span>

#include "base/dialogs.h"
#include "storage/record_buffer.h"

namespace kx {

// The messages of the file choices, which the readers of the exchange files share.
inline const QString kMsgReadFailed = QStringLiteral("读取失败");
inline const QString kMsgBadFileName = QStringLiteral("文件名错误！");

// Big-endian record primitives. Sequential forms read or write at the caller's cursor and advance
// it by the bytes they handled (a cursor driven past the end stops at INT_MAX, never wraps);
// positioned forms leave every cursor alone. Writing keeps the low bytes of the value's 32-bit
// two's-complement form; reading yields the unsigned value.

void Fun_Put1(int value, int& cursor, RecordBuffer& buf);  // 0-255, anything else fails the buffer
void Fun_Put2(int value, int& cursor, RecordBuffer& buf);
void Fun_Put3(int value, int& cursor, RecordBuffer& buf);
void Fun_Put4(int value, int& cursor, RecordBuffer& buf);
int Fun_Get1(int& cursor, RecordBuffer& buf);
int Fun_Get2(int& cursor, RecordBuffer& buf);
int Fun_Get3(int& cursor, RecordBuffer& buf);
// Files never hold 4-byte values at or above 2^31; such bytes read as a negative value.
int Fun_Get4(int& cursor, RecordBuffer& buf);

void Fun_PutAt1(int value, int position, RecordBuffer& buf);
void Fun_PutAt2(int value, int position, RecordBuffer& buf);
void Fun_PutAt3(int value, int position, RecordBuffer& buf);
void Fun_PutAt4(int value, int position, RecordBuffer& buf);
int Fun_GetAt1(int position, RecordBuffer& buf);
int Fun_GetAt2(int position, RecordBuffer& buf);
int Fun_GetAt3(int position, RecordBuffer& buf);
int Fun_GetAt4(int position, RecordBuffer& buf);

// A tag is 8 hex digits stored as 4 bytes ("F10410A1" -> F1 04 10 A1); read back upper-case.
void Fun_PutTag(const QString& tag, int& cursor, RecordBuffer& buf);
QString Fun_GetTag(int& cursor, RecordBuffer& buf);

// A text field: one length byte L (UTF-16 code units), then L units high byte first. The writer
// keeps at most maxLength (<= 255) units from the start of the text.
void Fun_PutStr(const QString& text, int maxLength, int& cursor, RecordBuffer& buf);
void Fun_GetStr(QString& text, int maxLength, int& cursor, RecordBuffer& buf);
// direction != 0 reads, 0 writes: one routine serves a record's reader and writer.
void Fun_Str(int direction, QString& text, int maxLength, int& cursor, RecordBuffer& buf);

void Fun_PutBytes(int n, std::span<const std::uint8_t> src, int& cursor, RecordBuffer& buf);
// Clears dst, then fills its first n entries.
void Fun_GetBytes(int n, std::span<std::uint8_t> dst, int& cursor, RecordBuffer& buf);

// Tables of positions written behind their records: values[0 .. n-1] are written as the table's
// entries 1 .. n from the remembered position on; no cursor moves.
void Fun_PutInt16Table(int position, std::span<const int> values, RecordBuffer& buf);
void Fun_PutInt24Table(int position, std::span<const int> values, RecordBuffer& buf);
void Fun_GetInt16Table(std::span<int> values, int& cursor, RecordBuffer& buf);
void Fun_GetInt24Table(std::span<int> values, int& cursor, RecordBuffer& buf);

// Section frame: EE EE EE EE, then the section tag, whose position goes into directory entry N
// (position 4 x N).
void Fun_BeginSection(int section, const QString& tag, int& cursor, RecordBuffer& buf);
// Moves the cursor behind section N's tag; false when the entry is zero, stale or points outside
// the buffer (the cursor must not be used then).
bool Fun_FindSection(int section, const QString& tag, int& cursor, RecordBuffer& buf);

// Whole-file forms. Fun_WriteFile replaces the file atomically with bytes 0 .. n-1 and reports
// whether it could; Fun_ReadFile yields the file when it exists and is not empty.
bool Fun_WriteFile(const QString& path, int n, const RecordBuffer& buf);
bool Fun_ReadFile(const QString& path, RecordBuffer& buf, int& length);
bool Fun_FileExists(const QString& path);

// What a file-choice function got: message is "" when path is usable, otherwise the text to tell
// the user ("文件名错误！" or "读取失败").
struct PathChoice {
    QString path;
    QString message;

    bool chosen() const { return message.isEmpty(); }
};
PathChoice Fun_AskSavePath(const FileDialogs& dialogs, const QString& title, const QString& ext);
PathChoice Fun_AskOpenPath(const FileDialogs& dialogs, const QString& title, const QString& ext);

}  // namespace kx
