#include <gtest/gtest.h>

#include <vector>

#include "base/common.h"
#include "base/developer_mode.h"
#include "base/dialogs.h"
#include "base/settings.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

std::vector<std::uint8_t> encode(const std::vector<std::uint8_t>& src) {
    std::vector<std::uint8_t> dst(zeroRunBound(static_cast<int>(src.size())));
    dst.resize(Fun_ZeroRunEncode(src, dst));
    return dst;
}

using Bytes = std::vector<std::uint8_t>;

TEST(ZeroRunEncode, EscapesRunsAndLiteral254) {
    EXPECT_EQ(encode({5, 0, 0, 0, 7}), (Bytes{5, 254, 3, 7}));
    EXPECT_EQ(encode({254, 1}), (Bytes{254, 255, 1}));
    EXPECT_EQ(encode({0, 9}), (Bytes{0, 9}));             // a lone zero stays literal
    EXPECT_EQ(encode({1, 0, 0}), (Bytes{1, 254, 1, 0}));  // the final byte is always literal
    EXPECT_EQ(encode({254}), (Bytes{254}));
    EXPECT_EQ(encode({0}), (Bytes{0}));
}

TEST(ZeroRunEncode, RunsSplitAt250) {
    EXPECT_EQ(encode(Bytes(300, 0)), (Bytes{254, 250, 254, 49, 0}));
    EXPECT_EQ(encode(Bytes(251, 0)), (Bytes{254, 250, 0}));
    Bytes allEscapes(1024, 254);
    EXPECT_EQ(encode(allEscapes).size(), 2u * 1023 + 1);
}

TEST(StepValue, RoundsTheDistanceToOneDecimalThenTruncates) {
    EXPECT_EQ(Fun_StepValue(0, 255, 1, 2), 127);
    EXPECT_EQ(Fun_StepValue(255, 0, 1, 2), 128);
    EXPECT_EQ(Fun_StepValue(10, 10, 3, 7), 10);
    EXPECT_EQ(Fun_StepValue(0, 100, 1, 3), 33);    // 33.3
    EXPECT_EQ(Fun_StepValue(0, 59, 1, 20), 3);     // 2.95 -> 3.0 -> 3
    EXPECT_EQ(Fun_StepValue(0, 147, 1, 50), 2);    // 2.94 -> 2.9 -> 2
    EXPECT_EQ(Fun_StepValue(100, 41, 1, 20), 97);  // down by 2.95 -> 3
    EXPECT_EQ(Fun_StepValue(0, 100, 3, 3), 100);
    EXPECT_EQ(Fun_StepValue(0, 255, 0, 5), 0);
}

TEST(ContainsNoCase, MatchesAnywhereIncludingTheLastPosition) {
    EXPECT_TRUE(Fun_ContainsNoCase("abc", "C"));
    EXPECT_TRUE(Fun_ContainsNoCase("R", "r"));
    EXPECT_FALSE(Fun_ContainsNoCase("", "a"));
    EXPECT_TRUE(Fun_ContainsNoCase("Moving Head", "g h"));
    EXPECT_FALSE(Fun_ContainsNoCase("ab", "abc"));
}

TEST(BitsAndToggles, Behave) {
    EXPECT_TRUE(Fun_BitTest(0x40000000, 30));
    EXPECT_FALSE(Fun_BitTest(0x40000000, 29));
    EXPECT_EQ(Fun_BitSet(0, 30), 0x40000000);
    EXPECT_EQ(Fun_BitSet(5, 1), 7);
    int v = 1;
    Fun_Toggle01(v);
    EXPECT_EQ(v, 0);
    Fun_Toggle01(v);
    EXPECT_EQ(v, 1);
    v = 7;
    Fun_Toggle01(v);
    EXPECT_EQ(v, 1);
}

TEST(HexText, FourDigitsPerCodeUnitAndBack) {
    EXPECT_EQ(Fun_TextToHex("A灯"), "0041706F");
    EXPECT_EQ(Fun_HexToText("0041706F"), "A灯");
    EXPECT_EQ(Fun_HexToText("0041F"), "A");  // a partial group is ignored
    const QString surrogate = QString::fromUcs4(U"\U0001F600");
    EXPECT_EQ(Fun_HexToText(Fun_TextToHex(surrogate)), surrogate);
}

class CommonPlatformTest : public test::FakePlatformTest {};

TEST_F(CommonPlatformTest, TimestampHasTwoDigitFields) {
    fake.time = QDateTime(QDate(2026, 3, 7), QTime(21, 5, 4));
    EXPECT_EQ(Fun_Timestamp(fake), "[260307-210504]");
}

TEST_F(CommonPlatformTest, WaitReturnsOnlyAfterMoreThanNmsAndHandlesEvents) {
    int pumps = 0;
    fake.onEvents = [&] { ++pumps; };
    const std::uint32_t start = fake.clock;
    Fun_Wait({fake, fake}, 100);
    EXPECT_GT(fake.clock - start, 100u);
    EXPECT_GT(pumps, 0);
}

TEST_F(CommonPlatformTest, WaitSurvivesAClockWrap) {
    fake.clock = 0xFFFFFFF0u;
    fake.eventStepMs = 7;
    Fun_Wait({fake, fake}, 50);
    EXPECT_GT(fake.clock, 0x20u);  // wrapped and still waited past 50 ms
    EXPECT_LT(fake.clock, 0x40u);
}

TEST_F(CommonPlatformTest, FirstKeyDownReportsOnlyFreshPresses) {
    fake.keys[0x25] = 0x8000;  // held since before the last poll
    fake.pressKey(0x27);
    EXPECT_EQ(Fun_FirstKeyDown(fake), 0x27);
    EXPECT_EQ(Fun_FirstKeyDown(fake), 0);
}

TEST_F(CommonPlatformTest, SaveDialogsAppendTheExtensionUnlessPresentExactly) {
    fake.dialogAnswers = {"/x/show.k74", "/x/show.K74", ""};
    EXPECT_EQ(Fun_SaveDialog({fake, fake}, "K74"), "/x/show.k74.K74");
    EXPECT_EQ(Fun_SaveDialog({fake, fake}, "K74"), "/x/show.K74");
    EXPECT_EQ(Fun_SaveDialog({fake, fake}, "K74"), "");
    ASSERT_EQ(fake.dialogs.size(), 3u);
    EXPECT_EQ(fake.dialogs[0].title, "保存文件");
    EXPECT_EQ(fake.dialogs[0].filterName, "保存文件 (*.K74)");
    EXPECT_EQ(fake.dialogs[0].pattern, "*.K74");
    EXPECT_EQ(fake.dialogs[0].folder, fake.dir.path());
}

TEST_F(CommonPlatformTest, OpenDialogsNeverAppend) {
    fake.dialogAnswers = {"/x/a.bin"};
    EXPECT_EQ(Fun_OpenDialogTitled({fake, fake}, "导入灯库", "K_ADK"), "/x/a.bin");
    EXPECT_FALSE(fake.dialogs[0].save);
    EXPECT_EQ(fake.dialogs[0].filterName, "导入灯库 (*.K_ADK)");
}

TEST_F(CommonPlatformTest, LeavingDeveloperModeForgetsTheFirmwarePath) {
    const AppPaths paths = AppPaths::under(fake.dir.path());
    Fun_IniWrite(paths.workSet, "最后是否在开发模式", "1");
    Fun_IniWrite(paths.workSet, "升级文件路径", "/fw/x.bin");
    EXPECT_FALSE(evaluateDeveloperMode(paths).on);
    EXPECT_EQ(Fun_IniRead(paths.workSet, "升级文件路径"), "");
    EXPECT_EQ(Fun_IniRead(paths.workSet, "最后是否在开发模式"), "0");

    Fun_IniWrite(paths.developerIni, "开发模式_功能开启", "1");
    Fun_IniWrite(paths.workSet, "升级文件路径", "/fw/y.bin");
    EXPECT_TRUE(evaluateDeveloperMode(paths).on);
    EXPECT_EQ(Fun_IniRead(paths.workSet, "升级文件路径"), "/fw/y.bin");
    EXPECT_EQ(Fun_IniRead(paths.workSet, "最后是否在开发模式"), "1");
}

}  // namespace
}  // namespace kx
