#include "storage/record_io.h"

#include <limits>

#include "base/file_io.h"
#include "base/settings.h"

namespace kx {

namespace {

// A cursor only passes the end of a buffer after an access was refused (capacities are ints), so
// stopping it at INT_MAX loses nothing and keeps every later access refused instead of wrapping.
void advance(int& cursor, std::int64_t count) {
    cursor = static_cast<int>(
        std::min<std::int64_t>(std::int64_t{cursor} + count, std::numeric_limits<int>::max()));
}

// Big-endian, width 1 to 4; the range is checked once for all its bytes.
void putAt(std::uint32_t value, int width, int position, RecordBuffer& buf) {
    if (!buf.require(position, width)) return;
    std::uint8_t* out = buf.data().data() + position;
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<std::uint8_t>(value & 0xFF);
        value >>= 8;
    }
}

std::uint32_t getAt(int width, int position, RecordBuffer& buf) {
    if (!buf.require(position, width)) return 0;
    const std::uint8_t* in = buf.view().data() + position;
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | in[i];
    return value;
}

void put(std::uint32_t value, int width, int& cursor, RecordBuffer& buf) {
    putAt(value, width, cursor, buf);
    advance(cursor, width);
}

std::uint32_t get(int width, int& cursor, RecordBuffer& buf) {
    const std::uint32_t value = getAt(width, cursor, buf);
    advance(cursor, width);
    return value;
}

}  // namespace

void Fun_Put1(int value, int& cursor, RecordBuffer& buf) {
    if (value < 0 || value > 255) buf.fail();
    put(static_cast<std::uint32_t>(value), 1, cursor, buf);
}
void Fun_Put2(int value, int& cursor, RecordBuffer& buf) {
    put(value, 2, cursor, buf);
}
void Fun_Put3(int value, int& cursor, RecordBuffer& buf) {
    put(value, 3, cursor, buf);
}
void Fun_Put4(int value, int& cursor, RecordBuffer& buf) {
    put(value, 4, cursor, buf);
}
int Fun_Get1(int& cursor, RecordBuffer& buf) {
    return static_cast<int>(get(1, cursor, buf));
}
int Fun_Get2(int& cursor, RecordBuffer& buf) {
    return static_cast<int>(get(2, cursor, buf));
}
int Fun_Get3(int& cursor, RecordBuffer& buf) {
    return static_cast<int>(get(3, cursor, buf));
}
int Fun_Get4(int& cursor, RecordBuffer& buf) {
    return static_cast<int>(get(4, cursor, buf));
}

void Fun_PutAt1(int value, int position, RecordBuffer& buf) {
    if (value < 0 || value > 255) buf.fail();
    putAt(static_cast<std::uint32_t>(value), 1, position, buf);
}
void Fun_PutAt2(int value, int position, RecordBuffer& buf) {
    putAt(value, 2, position, buf);
}
void Fun_PutAt3(int value, int position, RecordBuffer& buf) {
    putAt(value, 3, position, buf);
}
void Fun_PutAt4(int value, int position, RecordBuffer& buf) {
    putAt(value, 4, position, buf);
}
int Fun_GetAt1(int position, RecordBuffer& buf) {
    return static_cast<int>(getAt(1, position, buf));
}
int Fun_GetAt2(int position, RecordBuffer& buf) {
    return static_cast<int>(getAt(2, position, buf));
}
int Fun_GetAt3(int position, RecordBuffer& buf) {
    return static_cast<int>(getAt(3, position, buf));
}
int Fun_GetAt4(int position, RecordBuffer& buf) {
    return static_cast<int>(getAt(4, position, buf));
}

void Fun_PutTag(const QString& tag, int& cursor, RecordBuffer& buf) {
    bool okHigh = false;
    bool okLow = false;
    const int high = tag.left(4).toInt(&okHigh, 16);
    const int low = tag.mid(4, 4).toInt(&okLow, 16);
    if (tag.size() != 8 || !okHigh || !okLow) buf.fail();
    Fun_Put2(high, cursor, buf);
    Fun_Put2(low, cursor, buf);
}

QString Fun_GetTag(int& cursor, RecordBuffer& buf) {
    const std::uint32_t value = get(4, cursor, buf);
    return QString::number(value, 16).toUpper().rightJustified(8, '0');
}

void Fun_PutStr(const QString& text, int maxLength, int& cursor, RecordBuffer& buf) {
    const int n = static_cast<int>(std::min<qsizetype>(text.size(), std::clamp(maxLength, 0, 255)));
    Fun_Put1(n, cursor, buf);
    for (int i = 0; i < n; ++i)
        put(text.at(i).unicode(), 2, cursor, buf);
}

void Fun_GetStr(QString& text, int /*maxLength*/, int& cursor, RecordBuffer& buf) {
    const int n = Fun_Get1(cursor, buf);
    text.clear();
    if (!buf.require(cursor, 2 * n)) {
        advance(cursor, 2 * n);
        return;
    }
    text.reserve(n);
    for (int i = 0; i < n; ++i)
        text += QChar(static_cast<char16_t>(get(2, cursor, buf)));
}

void Fun_Str(int direction, QString& text, int maxLength, int& cursor, RecordBuffer& buf) {
    if (direction != 0) {
        Fun_GetStr(text, maxLength, cursor, buf);
    } else {
        Fun_PutStr(text, maxLength, cursor, buf);
    }
}

void Fun_PutBytes(int n, std::span<const std::uint8_t> src, int& cursor, RecordBuffer& buf) {
    if (n < 0 || static_cast<std::size_t>(n) > src.size() || !buf.require(cursor, n)) {
        buf.fail();
        advance(cursor, std::max(n, 0));
        return;
    }
    std::copy_n(src.begin(), n, buf.data().begin() + cursor);
    advance(cursor, n);
}

void Fun_GetBytes(int n, std::span<std::uint8_t> dst, int& cursor, RecordBuffer& buf) {
    std::fill(dst.begin(), dst.end(), std::uint8_t{0});
    if (n < 0 || static_cast<std::size_t>(n) > dst.size() || !buf.require(cursor, n)) {
        buf.fail();
        advance(cursor, std::max(n, 0));
        return;
    }
    std::copy_n(buf.view().begin() + cursor, n, dst.begin());
    advance(cursor, n);
}

void Fun_PutInt16Table(int position, std::span<const int> values, RecordBuffer& buf) {
    for (int v : values)
        put(v, 2, position, buf);
}

void Fun_PutInt24Table(int position, std::span<const int> values, RecordBuffer& buf) {
    for (int v : values)
        put(v, 3, position, buf);
}

void Fun_GetInt16Table(std::span<int> values, int& cursor, RecordBuffer& buf) {
    for (int& v : values)
        v = static_cast<int>(get(2, cursor, buf));
}

void Fun_GetInt24Table(std::span<int> values, int& cursor, RecordBuffer& buf) {
    for (int& v : values)
        v = static_cast<int>(get(3, cursor, buf));
}

void Fun_BeginSection(int section, const QString& tag, int& cursor, RecordBuffer& buf) {
    Fun_PutTag("EEEEEEEE", cursor, buf);
    const int tagPosition = cursor;
    Fun_PutTag(tag, cursor, buf);
    Fun_PutAt4(tagPosition, 4 * section, buf);
}

bool Fun_FindSection(int section, const QString& tag, int& cursor, RecordBuffer& buf) {
    // A damaged directory must not poison the caller's buffer state: probe before reading.
    const int entryPosition = 4 * section;
    if (entryPosition < 0 || entryPosition + 4 > buf.capacity()) return false;
    cursor = Fun_GetAt4(entryPosition, buf);
    if (cursor < 0 || cursor > buf.capacity() - 4) return false;
    return Fun_GetTag(cursor, buf) == tag;
}

bool Fun_WriteFile(const QString& path, int n, const RecordBuffer& buf) {
    if (n < 0 || n > buf.capacity()) return false;
    return writeWholeFile(path, buf.bytes(n));
}

bool Fun_ReadFile(const QString& path, RecordBuffer& buf, int& length) {
    if (Fun_FileSize(path) <= 0) return false;
    const auto bytes = readWholeFile(path);
    if (!bytes || bytes->isEmpty()) return false;
    const int count = std::min<int>(static_cast<int>(bytes->size()), buf.capacity());
    std::copy_n(reinterpret_cast<const std::uint8_t*>(bytes->constData()), count,
                buf.data().begin());
    length = static_cast<int>(std::min<qsizetype>(bytes->size(), INT32_MAX));
    return true;
}

bool Fun_FileExists(const QString& path) {
    return fileExists(path);
}

PathChoice Fun_AskSavePath(const FileDialogs& dialogs, const QString& title, const QString& ext) {
    PathChoice choice{Fun_SaveDialogTitled(dialogs, title, ext), {}};
    if (choice.path.isEmpty()) choice.message = kMsgBadFileName;
    return choice;
}

PathChoice Fun_AskOpenPath(const FileDialogs& dialogs, const QString& title, const QString& ext) {
    PathChoice choice{Fun_OpenDialogTitled(dialogs, title, ext), {}};
    if (choice.path.isEmpty() || Fun_FileSize(choice.path) <= 0) choice.message = kMsgReadFailed;
    return choice;
}

}  // namespace kx
