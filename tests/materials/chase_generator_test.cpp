#include <gtest/gtest.h>

#include <set>

#include "material_test_util.h"
#include "materials/chase_generator.h"
#include "materials/material_exchange.h"

namespace kx {
namespace {

using test::Bytes;
using test::sized;

ChaseFields headToTail(int lit, int start = 1, bool reverse = false) {
    ChaseFields f;
    f.type = kChaseTypeHeadToTail;
    f.litCount = QString::number(lit);
    f.startPosition = QString::number(start);
    f.reverse = reverse;
    return f;
}

// Every value of every Step: the lit Virtual Fixtures of each Step have `on` on all channels,
// the others `off`.
void expectSteps(const Material& m, const std::vector<std::set<int>>& lit, int on = 255,
                 int off = 0) {
    ASSERT_EQ(m.stepCount(), static_cast<int>(lit.size()));
    for (int s = 1; s <= m.stepCount(); ++s)
        for (int v = 1; v <= m.fixtureCount(); ++v)
            for (int k = 1; k <= m.channelCount(); ++k)
                EXPECT_EQ(m.value(s, v, k), lit[s - 1].count(v) ? on : off)
                    << "step " << s << " fixture " << v << " channel " << k;
}

TEST(ChaseGenerator, TwoLitFromTheStartRunOnceThroughAllFixtures) {
    Material m = sized(6, 3, 0);
    const ChaseResult r = generateChase(m, headToTail(2));
    ASSERT_TRUE(r.generated);
    expectSteps(m, {{1, 6}, {2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 5}});
    EXPECT_EQ(r.information,
              "步001：01 06 \r\n步002：02 01 \r\n步003：03 02 \r\n步004：04 03 \r\n"
              "步005：05 04 \r\n步006：06 05 \r\n");
}

TEST(ChaseGenerator, ReverseMirrorsTheFixtureOrder) {
    Material m = sized(6, 1, 0);
    const ChaseResult r = generateChase(m, headToTail(2, 1, true));
    expectSteps(m, {{6, 1}, {5, 6}, {4, 5}, {3, 4}, {2, 3}, {1, 2}});
    EXPECT_TRUE(r.information.startsWith("步001：06 01 \r\n步002：05 06 \r\n"));
}

TEST(ChaseGenerator, StartPositionHeadsTheFirstStepAndTheBlockComesBackToIt) {
    Material m = sized(4, 1, 0);
    const ChaseResult r = generateChase(m, headToTail(1, 3));
    expectSteps(m, {{3}, {4}, {1}, {2}});
    EXPECT_EQ(r.information, "步001：03 \r\n步002：04 \r\n步003：01 \r\n步004：02 \r\n");
}

TEST(ChaseGenerator, LitCountOfAllFixturesLightsEveryFixtureInEveryStep) {
    Material m = sized(5, 2, 0);
    generateChase(m, headToTail(5));
    const std::set<int> all{1, 2, 3, 4, 5};
    expectSteps(m, {all, all, all, all, all});
}

TEST(ChaseGenerator, UntypableValuesFallBack) {
    Material m = sized(3, 2, 0);
    ChaseFields f = headToTail(1);
    f.onValue = "300";
    f.offValue = "暗";
    generateChase(m, f);
    expectSteps(m, {{1}, {2}, {3}});

    f.onValue = " 128 ";
    f.offValue = "7";
    f.litCount = "two";
    f.startPosition = "";
    generateChase(m, f);
    expectSteps(m, {{1}, {2}, {3}}, 128, 7);
}

TEST(ChaseGenerator, StartPositionOutsideTheFixturesStartsAtTheFirst) {
    // The block could never come back to position 9 of 6; the Material holds at most 600 Steps.
    Material m = sized(6, 1, 0);
    generateChase(m, headToTail(1, 9));
    expectSteps(m, {{1}, {2}, {3}, {4}, {5}, {6}});
    generateChase(m, headToTail(1, 0));
    EXPECT_EQ(m.stepCount(), 6);
}

TEST(ChaseGenerator, NoTypeLeavesTheMaterialUntouched) {
    Material m = sized(6, 2, 4);
    m.setValue(2, 3, 1, 99);
    const Material before = m;
    ChaseFields f = headToTail(2);
    f.type = kChaseTypeNone;
    const ChaseResult r = generateChase(m, f);
    EXPECT_FALSE(r.generated);
    EXPECT_EQ(r.information, "未选择任何跑马类型");
    EXPECT_EQ(m, before);
}

TEST(ChaseGenerator, ReplacesStepsAndKeepsEverythingElse) {
    Material m = sized(3, 2, 10);
    m.setRemark("旧");
    m.setUnifiedTime(25);
    m.setAllStepsFade(1);
    m.setChannelFunction(1, 20);
    m.setMapped(2, 1, 7, true);
    m.setTempChannel(1, 23);
    for (int s = 1; s <= 10; ++s) {
        m.setStepTime(s, 40);
        m.setFadeToNext(s, 1);
        m.setJumpMark(s, 1);
        m.setValue(s, 1, 1, 9);
    }
    generateChase(m, headToTail(1));
    ASSERT_EQ(m.stepCount(), 3);
    for (int s = 1; s <= 3; ++s)
        EXPECT_EQ(m.stepInfo(s), StepInfo{});
    EXPECT_EQ(m.remark(), "旧");
    EXPECT_EQ(m.unifiedTime(), 25);
    EXPECT_EQ(m.allStepsFade(), 1);
    EXPECT_EQ(m.channelFunction(1), 20);
    EXPECT_TRUE(m.isMapped(2, 1, 7));
    EXPECT_EQ(m.tempChannel(1), 23);
}

TEST(ChaseGenerator, StepRecordsInTheMaterialFileAreByteExact) {
    // 3 Virtual Fixtures x 2 channels: the tag and the 20-byte header, a position table of
    // 12 + 3 x 3 bytes, then the Step records from byte 45.
    Material m = sized(3, 2, 0);
    ChaseFields f = headToTail(1);
    f.onValue = "200";
    f.offValue = "1";
    generateChase(m, f);
    const FixtureLibrary lib;
    const QByteArray file = *buildSingleMaterialFile(m, lib);
    Bytes steps;
    steps.u16(0)({0})({200, 200, 1, 1, 1, 1});
    steps.u16(0)({0})({1, 1, 200, 200, 1, 1});
    steps.u16(0)({0})({1, 1, 1, 1, 200, 200});
    EXPECT_EQ(test::toVector(file.mid(45, steps.size())), steps.v);

    // On and off both 0: every Step is dark and keeps only its time and flag (bit 2).
    f.onValue = "0";
    f.offValue = "0";
    generateChase(m, f);
    const QByteArray dark = *buildSingleMaterialFile(m, lib);
    Bytes darkSteps;
    for (int s = 0; s < 3; ++s)
        darkSteps.u16(0)({0x04});
    EXPECT_EQ(test::toVector(dark.mid(45, darkSteps.size())), darkSteps.v);
}

TEST(ChaseGenerator, WindowLists) {
    EXPECT_EQ(chaseTypeEntries(), (QStringList{"00-无", "01-头尾衔接"}));
    EXPECT_EQ(chasePositionEntries(3), (QStringList{"1", "2", "3"}));
    EXPECT_TRUE(chasePositionEntries(0).isEmpty());
    const QStringList values = chaseValueEntries();
    ASSERT_EQ(values.size(), 256);
    EXPECT_EQ(values.front(), "0");
    EXPECT_EQ(values.back(), "255");
}

}  // namespace
}  // namespace kx
