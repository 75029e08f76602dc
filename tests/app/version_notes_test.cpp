#include <gtest/gtest.h>

#include "app/version_notes.h"

namespace kx {
namespace {

TEST(VersionNotes, PlainTextRunsNewestFirstAndEndsWithAnEmptyLine) {
    const QString text = versionNotesText(false);
    EXPECT_TRUE(
        text.startsWith("//////////////////////////////KX-7420 A14.2\r\n"
                        "1.增加关闭多色门牌选项，需要机器版本1.42\r\n"
                        "2.增加PC软件升级底层数据校验功能\r\n\r\n"
                        "//////////////////////////////KX-7420 A14.1\r\n"));
    EXPECT_TRUE(
        text.endsWith("//////////////////////////////KX-7420 A11.3\r\n"
                      "1.增加快速灯具组\r\n\r\n"));
    EXPECT_EQ(text.count("KX-7420"), 7);
    EXPECT_EQ(text.count("\r\n"), 28);
}

TEST(VersionNotes, FullSchemeHeadingsLoseTheProductName) {
    const QString row = QString("/").repeated(55);
    EXPECT_EQ(versionNoteEntry("//////////////////////////////KX-7420 A14.2", true),
              row + " A14.2\r\n\r\n");
    EXPECT_EQ(versionNoteEntry("1.优化界面", true), "1.优化界面\r\n");
    const QString text = versionNotesText(true);
    EXPECT_FALSE(text.contains("KX-7420"));
    EXPECT_TRUE(text.startsWith(row + " A14.2\r\n\r\n1.增加关闭多色门牌选项"));
    EXPECT_EQ(text.count("\r\n"), 28 + 7);
}

}  // namespace
}  // namespace kx
