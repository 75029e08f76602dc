#include <gtest/gtest.h>
#include <QFile>

#include "base/file_io.h"
#include "base/settings.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

class SettingsTest : public test::FakePlatformTest {
  protected:
    QString path = fake.dir.path() + "/test.ini";

    void writeRaw(const QByteArray& bytes) { ASSERT_TRUE(writeWholeFile(path, bytes)); }
    QByteArray raw() { return readWholeFile(path).value_or(QByteArray()); }
};

TEST_F(SettingsTest, ReadTakesTheLastMatchAndNeverAPrefixKey) {
    writeRaw("LoSet=1\r\nLoSet2=7\r\nLoSet=0\r\n");
    EXPECT_EQ(Fun_IniRead(path, "LoSet"), "0");
    EXPECT_EQ(Fun_IniRead(path, "LoSet2"), "7");
    EXPECT_EQ(Fun_IniRead(path, "loset"), "");  // keys are case-sensitive
    EXPECT_EQ(Fun_IniRead(path, "Lo"), "");
    EXPECT_EQ(Fun_IniRead(fake.dir.path() + "/missing.ini", "LoSet"), "");
}

TEST_F(SettingsTest, NumbersThatAreNotNumbersReadAsZero) {
    writeRaw("A=12\r\nB=x\r\n");
    EXPECT_EQ(iniReadInt(path, "A"), 12);
    EXPECT_EQ(iniReadInt(path, "B"), 0);
    EXPECT_EQ(iniReadInt(path, "C"), 0);
}

TEST_F(SettingsTest, WriteRewritesEveryMatchingLineAndKeepsTheOthers) {
    writeRaw("K=1\r\nK2=5\r\nK=2\r\n");
    ASSERT_TRUE(Fun_IniWrite(path, "K", "9"));
    EXPECT_EQ(raw(), QByteArray("K=9\r\nK2=5\r\nK=9\r\n"));
    ASSERT_TRUE(Fun_IniWrite(path, "New", "x"));
    EXPECT_EQ(raw(), QByteArray("K=9\r\nK2=5\r\nK=9\r\nNew=x\r\n"));
}

TEST_F(SettingsTest, WriteCreatesAMissingFileWithOneLine) {
    ASSERT_TRUE(Fun_IniWrite(path, "WIFI_Port", "51801"));
    EXPECT_EQ(raw(), QByteArray("WIFI_Port=51801\r\n"));
}

TEST_F(SettingsTest, ChineseKeysAndValuesAreCodePage936OnDisk) {
    ASSERT_TRUE(Fun_IniWrite(path, "不自动备份", "灯光"));
    // 不自动备份 = B2 BB D7 D4 B6 AF B1 B8 B7 DD, 灯光 = B5 C6 B9 E2 in code page 936.
    EXPECT_EQ(raw(), QByteArray::fromHex("b2bbd7d4b6afb1b8b7dd3db5c6b9e20d0a"));
    EXPECT_EQ(Fun_IniRead(path, "不自动备份"), "灯光");
}

TEST_F(SettingsTest, TextFilesEndEveryLineWithCrLf) {
    ASSERT_TRUE(Fun_WriteText(path, "a\r\nb"));
    EXPECT_EQ(raw(), QByteArray("a\r\nb\r\n"));
    writeRaw("x\r\ny");
    EXPECT_EQ(Fun_ReadText(path), "x\r\ny\r\n");
    EXPECT_EQ(Fun_FileSize(path), 4);
    EXPECT_EQ(Fun_FileSize(fake.dir.path() + "/none"), 0);
    EXPECT_EQ(Fun_FileSize(fake.dir.path()), 0);  // a folder is not a file
}

TEST_F(SettingsTest, AFailedWriteIsReportedAndLeavesTheFileAlone) {
    writeRaw("K=1\r\n");
    EXPECT_FALSE(Fun_IniWrite(fake.dir.path() + "/no/such/folder/x.ini", "K", "2"));
    EXPECT_FALSE(Fun_WriteText(fake.dir.path() + "/no/such/folder/x.txt", "t"));
    EXPECT_EQ(raw(), QByteArray("K=1\r\n"));
}

}  // namespace
}  // namespace kx
