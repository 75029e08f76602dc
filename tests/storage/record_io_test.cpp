#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <limits>
#include <memory>

#include "base/file_io.h"
#include "storage/record_io.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

QByteArray head(const RecordBuffer& b, int n) {
    return b.bytes(n);
}

TEST(RecordIo, IntegersAreBigEndianLowBytesOfTwosComplement) {
    RecordBuffer b(16);
    int c = 0;
    Fun_Put2(-1, c, b);          // FF FF
    Fun_Put2(70000, c, b);       // 0x11170 -> 11 70
    Fun_Put3(305419896, c, b);   // 0x12345678 -> 34 56 78
    Fun_Put4(0x01020304, c, b);  // 01 02 03 04
    Fun_Put1(0xAB, c, b);
    EXPECT_EQ(c, 12);
    EXPECT_EQ(head(b, 12), QByteArray::fromHex("ffff"
                                               "1170"
                                               "345678"
                                               "01020304"
                                               "ab"));
    EXPECT_TRUE(b.ok());

    c = 0;
    EXPECT_EQ(Fun_Get2(c, b), 65535);
    EXPECT_EQ(Fun_Get2(c, b), 0x1170);
    EXPECT_EQ(Fun_Get3(c, b), 0x345678);
    EXPECT_EQ(Fun_Get4(c, b), 0x01020304);
    EXPECT_EQ(Fun_Get1(c, b), 0xAB);
    EXPECT_EQ(c, 12);
}

TEST(RecordIo, PositionedFormsLeaveTheCursorAlone) {
    RecordBuffer b(8);
    Fun_PutAt3(1, 5, b);
    EXPECT_EQ(head(b, 8), QByteArray::fromHex("0000000000000001"));
    EXPECT_EQ(Fun_GetAt3(5, b), 1);
    EXPECT_EQ(Fun_GetAt2(6, b), 1);
}

TEST(RecordIo, TagsAreEightHexDigits) {
    RecordBuffer b(8);
    int c = 0;
    Fun_PutTag("F10410A1", c, b);
    EXPECT_EQ(head(b, 4), QByteArray::fromHex("f10410a1"));
    c = 0;
    EXPECT_EQ(Fun_GetTag(c, b), "F10410A1");
    EXPECT_EQ(Fun_GetTag(c, b), "00000000");
    EXPECT_EQ(c, 8);
    int d = 0;
    Fun_PutTag("xyz", d, b);  // not a tag: a caller error the buffer remembers
    EXPECT_FALSE(b.ok());
}

TEST(RecordIo, TextsAreLengthPrefixedUtf16BigEndian) {
    RecordBuffer b(32);
    int c = 0;
    Fun_PutStr("ABC", 2, c, b);
    EXPECT_EQ(c, 5);
    EXPECT_EQ(head(b, 5), QByteArray::fromHex("02"
                                              "0041"
                                              "0042"));

    int e = 5;
    Fun_PutStr("", 20, e, b);
    EXPECT_EQ(e, 6);
    EXPECT_EQ(b.bytes(6).back(), '\0');

    // A character above U+FFFF is two code units and counts so toward the maximum.
    int s = 6;
    Fun_PutStr(QString::fromUcs4(U"\U0001F600x"), 2, s, b);
    EXPECT_EQ(s, 11);
    EXPECT_EQ(b.bytes(11).mid(6), QByteArray::fromHex("02"
                                                      "d83d"
                                                      "de00"));

    int r = 0;
    QString out = "old";
    Fun_GetStr(out, 0, r, b);
    EXPECT_EQ(out, "AB");
    Fun_Str(1, out, 0, r, b);
    EXPECT_EQ(out, "");
    EXPECT_EQ(r, 6);
}

TEST(RecordIo, TextWhoseLengthRunsPastTheEndFailsCleanly) {
    RecordBuffer b =
        RecordBuffer::fromBytes(QByteArray::fromHex("05"
                                                    "0041"));
    int c = 0;
    QString out;
    Fun_GetStr(out, 0, c, b);
    EXPECT_FALSE(b.ok());
    EXPECT_TRUE(out.isEmpty());
}

TEST(RecordIo, ByteRunsAndTables) {
    RecordBuffer b(32);
    int c = 0;
    const std::uint8_t src[] = {1, 2, 3};
    Fun_PutBytes(3, src, c, b);
    const int table[] = {0x010203, 0x040506, 7};
    Fun_PutInt24Table(3, table, b);
    EXPECT_EQ(c, 3);
    EXPECT_EQ(head(b, 12), QByteArray::fromHex("010203"
                                               "010203"
                                               "040506"
                                               "000007"));

    std::uint8_t dst[5] = {9, 9, 9, 9, 9};
    int r = 0;
    Fun_GetBytes(3, dst, r, b);
    EXPECT_EQ(std::vector<std::uint8_t>(dst, dst + 5), (std::vector<std::uint8_t>{1, 2, 3, 0, 0}));
    int values[3];
    Fun_GetInt24Table(values, r, b);
    EXPECT_EQ(values[1], 0x040506);
    EXPECT_EQ(r, 12);

    const int t16[] = {0xABCD, -1};
    Fun_PutInt16Table(12, t16, b);
    int back[2];
    int sixteen = 12;
    Fun_GetInt16Table(back, sixteen, b);
    EXPECT_EQ(back[0], 0xABCD);
    EXPECT_EQ(back[1], 0xFFFF);
}

TEST(RecordIo, EveryAccessOutsideTheBufferIsRefused) {
    RecordBuffer b(4);
    int c = 3;
    Fun_Put2(0x1234, c, b);
    EXPECT_FALSE(b.ok());
    EXPECT_EQ(head(b, 4), QByteArray(4, '\0'));  // nothing was written past or at the edge

    RecordBuffer r = RecordBuffer::fromBytes(QByteArray::fromHex("0102"));
    int rc = 1;
    EXPECT_EQ(Fun_Get4(rc, r), 0);
    EXPECT_FALSE(r.ok());

    RecordBuffer n(4);
    int neg = -1;
    Fun_Get1(neg, n);
    EXPECT_FALSE(n.ok());

    RecordBuffer big(2);
    std::uint8_t dst[2];
    int g = 0;
    Fun_GetBytes(3, dst, g, big);  // more than the destination holds
    EXPECT_FALSE(big.ok());

    RecordBuffer one(2);
    int p = 0;
    Fun_Put1(256, p, one);
    EXPECT_FALSE(one.ok());
}

// A buffer made from a file's bytes reads them where they lie; a write, to it or to a copy of
// it, never reaches the bytes it was made from nor another buffer sharing them.
TEST(RecordIo, BuffersShareTheBytesTheyAreMadeFromUntilOneIsWritten) {
    QByteArray file = QByteArray::fromHex("0a0b0c0d");
    RecordBuffer b = RecordBuffer::fromBytes(file);
    EXPECT_EQ(b.view().data(), reinterpret_cast<const std::uint8_t*>(file.constData()));
    RecordBuffer copy = b;
    int c = 0;
    Fun_Put2(0x1122, c, b);
    EXPECT_EQ(file, QByteArray::fromHex("0a0b0c0d"));
    EXPECT_EQ(head(b, 4), QByteArray::fromHex("11220c0d"));
    EXPECT_EQ(head(copy, 4), QByteArray::fromHex("0a0b0c0d"));
    copy.data()[3] = 0xFF;
    EXPECT_EQ(head(b, 4), QByteArray::fromHex("11220c0d"));
    EXPECT_EQ(head(copy, 4), QByteArray::fromHex("0a0b0cff"));

    // The buffer outlives the array it was made from, and moves with its bytes.
    RecordBuffer kept = RecordBuffer::fromBytes(QByteArray::fromHex("01020304"));
    file = QByteArray();
    RecordBuffer moved = std::move(kept);
    int r = 0;
    EXPECT_EQ(Fun_Get4(r, moved), 0x01020304);
    copy = moved;
    Fun_PutAt1(9, 0, moved);
    EXPECT_EQ(head(copy, 1), QByteArray::fromHex("01"));
    EXPECT_TRUE(moved.ok() && copy.ok());
}

// A part of a buffer made from a file's bytes is those bytes, not a copy; it lives on after the
// file's array and the buffer are gone, and a write to it stays its own. Parts are clamped to the
// buffer; one of a buffer with bytes of its own is a copy.
TEST(RecordIo, APartOfAFilesBytesSharesThemAndWritesApart) {
    QByteArray file = QByteArray::fromHex("0a0b0c0d0e");
    auto b = std::make_unique<RecordBuffer>(RecordBuffer::fromBytes(file));
    QByteArray part = b->part(1, 3);
    EXPECT_EQ(part.constData(), file.constData() + 1);
    EXPECT_EQ(part, QByteArray::fromHex("0b0c0d"));
    EXPECT_EQ(b->part(3, 10), QByteArray::fromHex("0d0e"));
    EXPECT_TRUE(b->part(7, 2).isEmpty());
    EXPECT_TRUE(b->part(-2, 0).isEmpty());

    QByteArray written = part;
    written[0] = 'x';
    EXPECT_EQ(part, QByteArray::fromHex("0b0c0d"));
    EXPECT_EQ(file, QByteArray::fromHex("0a0b0c0d0e"));

    file = QByteArray();
    b.reset();
    EXPECT_EQ(part, QByteArray::fromHex("0b0c0d"));
    part.append('\x01');
    part[0] = 'y';
    EXPECT_EQ(part, QByteArray::fromHex("790c0d01"));

    RecordBuffer own(4);
    int c = 0;
    Fun_Put2(0x1122, c, own);
    const QByteArray copied = own.part(0, 2);
    c = 0;
    Fun_Put2(0x3344, c, own);
    EXPECT_EQ(copied, QByteArray::fromHex("1122"));
}

// A working buffer of a Show File's size starts all zeros; a copy written later takes bytes of its
// own and leaves the one it was copied from as it was.
TEST(RecordIo, ABufferOfMegabytesStartsZeroAndACopyWritesApart) {
    RecordBuffer big(4 * 1024 * 1024 + 1);
    const auto all = big.view();
    EXPECT_TRUE(std::all_of(all.begin(), all.end(), [](std::uint8_t b) { return b == 0; }));
    const int last = big.capacity() - 1;
    Fun_PutAt1(0x5A, last, big);
    RecordBuffer copy = big;
    Fun_PutAt1(0xA5, last, copy);
    Fun_PutAt1(0x11, 0, copy);
    EXPECT_EQ(Fun_GetAt1(last, big), 0x5A);
    EXPECT_EQ(Fun_GetAt1(0, big), 0);
    EXPECT_EQ(Fun_GetAt1(last, copy), 0xA5);
    EXPECT_TRUE(big.ok() && copy.ok());
}

// Positions read from a file may be anything up to 2^31 - 1; a cursor set there must stay
// refused through every later access instead of wrapping round to a small position.
TEST(RecordIo, ACursorNearTheTopOfItsRangeNeverWraps) {
    constexpr int kTop = std::numeric_limits<int>::max();
    const QByteArray bytes = QByteArray::fromHex("7FFFFFFE01020304");  // entry 0, then a tag
    RecordBuffer b = RecordBuffer::fromBytes(bytes);
    int c = kTop - 1;
    EXPECT_EQ(Fun_Get4(c, b), 0);
    EXPECT_EQ(c, kTop);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Fun_Get1(c, b), 0);
        Fun_Put2(0x1234, c, b);
    }
    QString text = "old";
    Fun_GetStr(text, 0, c, b);
    EXPECT_TRUE(text.isEmpty());
    std::uint8_t run[4] = {9, 9, 9, 9};
    Fun_GetBytes(4, run, c, b);
    Fun_PutBytes(4, run, c, b);
    int table[3];
    Fun_GetInt24Table(table, c, b);
    EXPECT_EQ(c, kTop);
    EXPECT_EQ(table[0], 0);
    EXPECT_FALSE(b.ok());
    EXPECT_EQ(b.bytes(8), bytes);  // nothing written

    // A directory entry just below 2^31 is a stale entry, not a section.
    int f = 0;
    RecordBuffer fresh = RecordBuffer::fromBytes(bytes);
    EXPECT_FALSE(Fun_FindSection(0, "01020304", f, fresh));
    EXPECT_TRUE(fresh.ok());
}

TEST(RecordIo, SectionsAreFramedAndFoundThroughTheDirectory) {
    RecordBuffer b(64);
    int c = 0;
    Fun_PutTag("F10410A1", c, b);
    c = 12;
    Fun_BeginSection(2, "A0000002", c, b);
    EXPECT_EQ(c, 20);
    EXPECT_EQ(b.bytes(20).mid(12), QByteArray::fromHex("eeeeeeee"
                                                       "a0000002"));
    EXPECT_EQ(Fun_GetAt4(8, b), 16);  // entry 2 points at the tag, behind the marker

    int f = 0;
    EXPECT_TRUE(Fun_FindSection(2, "A0000002", f, b));
    EXPECT_EQ(f, 20);
    EXPECT_FALSE(Fun_FindSection(2, "A0000003", f, b));
    EXPECT_FALSE(Fun_FindSection(1, "F10410A1x", f, b));  // entry 0 points at the file tag
    EXPECT_FALSE(Fun_FindSection(1, "A0000001", f, b));

    Fun_PutAt4(1000, 4, b);  // a stale entry pointing outside
    EXPECT_FALSE(Fun_FindSection(1, "A0000001", f, b));
    EXPECT_FALSE(Fun_FindSection(100, "A0000001", f, b));
    EXPECT_TRUE(b.ok());
}

class RecordFileTest : public test::FakePlatformTest {};

TEST_F(RecordFileTest, WholeFileWriteReplacesAndReadLeavesLengthOnEmpty) {
    const QString path = fake.dir.path() + "/f.bin";
    RecordBuffer big(100);
    big.set(0, 7);
    ASSERT_TRUE(Fun_WriteFile(path, 100, big));
    RecordBuffer small(10);
    small.set(1, 9);
    ASSERT_TRUE(Fun_WriteFile(path, 3, small));
    EXPECT_EQ(QFileInfo(path).size(), 3);

    RecordBuffer in(2);
    int length = -5;
    ASSERT_TRUE(Fun_ReadFile(path, in, length));
    EXPECT_EQ(length, 3);  // longer than the buffer: the caller sees it
    EXPECT_EQ(in.bytes(2), QByteArray::fromHex("0009"));

    const QString empty = fake.dir.path() + "/empty.bin";
    ASSERT_TRUE(writeWholeFile(empty, {}));
    length = -5;
    EXPECT_FALSE(Fun_ReadFile(empty, in, length));
    EXPECT_EQ(length, -5);
    EXPECT_TRUE(Fun_FileExists(empty));
    EXPECT_FALSE(Fun_FileExists(""));

    EXPECT_FALSE(Fun_WriteFile(fake.dir.path() + "/missing/dir/f.bin", 3, small));
    EXPECT_FALSE(Fun_WriteFile(path, 11, small));  // more than the buffer holds
    EXPECT_EQ(QFileInfo(path).size(), 3);
}

TEST_F(RecordFileTest, AskPathsGiveTheirMessagesWhenNothingUsableIsChosen) {
    const FileDialogs dialogs{fake, fake};
    EXPECT_EQ(Fun_AskSavePath(dialogs, "保存素材", "K_1SC").message, "文件名错误！");

    fake.dialogAnswers = {fake.dir.path() + "/s"};
    PathChoice saved = Fun_AskSavePath(dialogs, "保存素材", "K_1SC");
    EXPECT_TRUE(saved.chosen());
    EXPECT_EQ(saved.path, fake.dir.path() + "/s.K_1SC");

    EXPECT_EQ(Fun_AskOpenPath(dialogs, "打开素材", "K_1SC").message, "读取失败");  // cancelled
    fake.dialogAnswers = {fake.dir.path() + "/missing.K_1SC"};
    EXPECT_EQ(Fun_AskOpenPath(dialogs, "打开素材", "K_1SC").message, "读取失败");

    const QString there = fake.dir.path() + "/there.K_1SC";
    ASSERT_TRUE(writeWholeFile(there, "x"));
    fake.dialogAnswers = {there};
    const PathChoice opened = Fun_AskOpenPath(dialogs, "打开素材", "K_1SC");
    EXPECT_TRUE(opened.chosen());
    EXPECT_EQ(opened.path, there);
    EXPECT_TRUE(fake.messages.isEmpty());  // nothing is shown: the caller tells
}

}  // namespace
}  // namespace kx
