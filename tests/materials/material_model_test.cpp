#include <gtest/gtest.h>

#include "material_test_util.h"
#include "materials/material.h"
#include "materials/output_map.h"

namespace kx {
namespace {

using test::patch;
using test::setRow;
using test::sized;

TEST(MaterialIdentity, NumberAndSlotMapBothWays) {
    EXPECT_EQ(materialNumber(1, 1), 1);
    EXPECT_EQ(materialNumber(20, 12), 240);
    EXPECT_EQ(materialSlotOf(12), (MaterialSlot{1, 12}));
    EXPECT_EQ(materialSlotOf(13), (MaterialSlot{2, 1}));
    EXPECT_EQ(materialSlotOf(240), (MaterialSlot{20, 12}));
    EXPECT_FALSE(materialSlotOf(241));
    EXPECT_FALSE(materialSlotOf(0));
    for (int n = 1; n <= kMaterialsPerBank; ++n) {
        const auto s = materialSlotOf(n);
        ASSERT_TRUE(s);
        EXPECT_EQ(materialNumber(s->module, s->slot), n);
    }
}

TEST(MaterialFields, ValuesOutsideTheirRangeAreNeverStored) {
    Material m;
    EXPECT_FALSE(m.setStepCount(601));
    EXPECT_FALSE(m.setFixtureCount(41));
    EXPECT_FALSE(m.setChannelCount(33));
    EXPECT_FALSE(m.setBrightnessCut(101));
    EXPECT_FALSE(m.setStartMode(7));
    EXPECT_FALSE(m.setVirtualDimming(3));
    EXPECT_FALSE(m.setHardwareSpeed(3));
    EXPECT_FALSE(m.setMotionMode(2));
    EXPECT_FALSE(m.setPerStepTime(2));
    EXPECT_FALSE(m.setUnifiedTime(32768));
    EXPECT_FALSE(m.setChannelFunction(33, 1));
    EXPECT_FALSE(m.setMapped(1, 0, 101, true));
    EXPECT_FALSE(m.setValue(0, 1, 1, 5));  // no Virtual Fixtures yet
    EXPECT_EQ(m, Material{});

    m = sized(2, 3, 4);
    EXPECT_FALSE(m.setValue(1, 1, 1, 256));
    EXPECT_FALSE(m.setValue(5, 1, 1, 1));
    EXPECT_FALSE(m.setValue(1, 3, 1, 1));
    EXPECT_TRUE(m.setValue(4, 2, 3, 255));
    EXPECT_EQ(m.value(4, 2, 3), 255);
    EXPECT_TRUE(m.setUnifiedTime(-5));
    EXPECT_EQ(m.unifiedTime(), -5);
}

TEST(MaterialFields, LoweredCountsKeepTheirValuesAsideUntilRaised) {
    Material m = sized(2, 3, 2);
    for (int v = 1; v <= 2; ++v)
        for (int k = 1; k <= 3; ++k)
            m.setValue(2, v, k, 10 * v + k);
    const std::uint64_t stamp = m.routingStamp();
    m.setChannelCount(2);
    m.setFixtureCount(3);
    EXPECT_NE(m.routingStamp(), stamp);
    EXPECT_EQ(m.value(2, 1, 1), 11);
    EXPECT_EQ(m.value(2, 2, 2), 22);
    EXPECT_EQ(m.value(2, 1, 3), 0);  // outside the counts nothing reads it
    EXPECT_EQ(m.value(2, 3, 1), 0);
    EXPECT_EQ(m.stepValues(2).size(), 6u);
    // What the files and the output see: equal to a Material that never held the value.
    Material plain = sized(3, 2, 2);
    for (int v = 1; v <= 2; ++v)
        for (int k = 1; k <= 2; ++k)
            plain.setValue(2, v, k, 10 * v + k);
    EXPECT_EQ(m, plain);

    m.setFixtureCount(1);
    m.setChannelCount(3);
    EXPECT_EQ(m.value(2, 1, 3), 13);
    m.setFixtureCount(2);
    EXPECT_EQ(m.value(2, 2, 3), 23);
    EXPECT_EQ(m.value(2, 2, 1), 21);

    // Moving and clearing a Step carries what waits aside with it.
    m.setChannelCount(1);
    m.copyStepContent(2, 1);
    m.clearStepValues(2);
    m.setChannelCount(3);
    EXPECT_EQ(m.value(1, 2, 3), 23);
    EXPECT_EQ(m.value(2, 2, 3), 0);
}

TEST(MaterialFields, RoutingStampFollowsWhatTheMapsReadOnly) {
    Material m = sized(2, 2, 1);
    const std::uint64_t s0 = m.routingStamp();
    m.setValue(1, 1, 1, 9);
    m.setRemark("x");
    m.setChannelFunction(1, 0);  // unchanged
    m.setMapped(1, 0, 5, false);
    EXPECT_EQ(m.routingStamp(), s0);
    const Material copy = m;
    EXPECT_EQ(copy.routingStamp(), s0);
    m.setChannelFunction(1, 20);
    const std::uint64_t s1 = m.routingStamp();
    EXPECT_NE(s1, s0);
    m.setMapped(2, 1, 7, true);
    EXPECT_NE(m.routingStamp(), s1);
    Material moved = std::move(m);
    EXPECT_NE(m.routingStamp(), moved.routingStamp());
}

TEST(MaterialFields, TemporaryChannelsKeepOrderAndRefuseAFullList) {
    Material m;
    for (int code = 1; code <= 20; ++code)
        EXPECT_EQ(m.toggleTempChannel(code), TempChannelToggle::Added);
    EXPECT_EQ(m.toggleTempChannel(21), TempChannelToggle::Full);
    EXPECT_EQ(m.toggleTempChannel(5), TempChannelToggle::Removed);
    EXPECT_EQ(m.tempChannel(5), 0);
    EXPECT_EQ(m.usedTempChannels(), 19);
    EXPECT_EQ(m.toggleTempChannel(21), TempChannelToggle::Added);
    EXPECT_EQ(m.tempChannel(5), 21);        // the first empty entry
    EXPECT_FALSE(m.setTempChannel(1, 21));  // a code is held once
    clearMaterial(m);
    for (int e = 1; e <= kTempChannelEntries; ++e)
        EXPECT_EQ(m.tempChannel(e), 0);
}

TEST(MaterialOperations, ExistenceDarknessMarksAndClearing) {
    MaterialBank bank;
    Material& m = bank.at(3, 4);
    m = sized(2, 2, 3);
    EXPECT_TRUE(materialExists(bank, 3, 4));
    EXPECT_TRUE(moduleHasMaterials(bank, 3));
    EXPECT_FALSE(moduleHasMaterials(bank, 4));
    m.setChannelCount(0);
    EXPECT_FALSE(materialExists(bank, 3, 4));  // Steps but no channels
    m.setChannelCount(2);

    EXPECT_TRUE(isDarkStep(bank, 3, 4, 2));
    m.setValue(2, 2, 2, 1);
    EXPECT_FALSE(isDarkStep(bank, 3, 4, 2));
    m.setJumpMark(1, 1);
    m.setJumpMark(3, 1);
    EXPECT_EQ(jumpMarkCount(bank, 3, 4), 2);

    m.setRemark("x");
    m.setMapped(1, 1, 7, true);
    clearSteps(bank, 3, 4);
    EXPECT_EQ(m.stepCount(), 0);
    EXPECT_EQ(m.fixtureCount(), 2);
    EXPECT_TRUE(m.isMapped(1, 1, 7));
    clearMaterial(bank, 3, 4);
    EXPECT_EQ(m, Material{});
    m = sized(1, 1, 1);
    clearBank(bank);
    EXPECT_FALSE(bankHasMaterials(bank));
}

TEST(MaterialOperations, DefaultTimesReplaceOnlyZero) {
    Material m = sized(1, 1, 3);
    m.setStepTime(2, 25);
    applyDefaultTimes(m);
    EXPECT_EQ(m.unifiedTime(), 10);
    EXPECT_EQ(m.stepTime(0), 10);
    EXPECT_EQ(m.stepTime(1), 10);
    EXPECT_EQ(m.stepTime(2), 25);
}

class OutputMapTest : public ::testing::Test {
  protected:
    FixtureLibrary lib;
    Material m = sized(2, 3, 1);

    void SetUp() override {
        m.setChannelFunction(1, 20);              // R
        m.setChannelFunction(2, 1);               // X
        m.setChannelFunction(3, 0);               // none
        patch(lib, 0, 5, 1, 10, {20, 1, 20, 0});  // port B, two "R" channels
        patch(lib, 0, 2, 0, 1, {1});
        patch(lib, 0, 9, 0, 0, {20});  // address 0: not patched
        lib.at(0, 9).startAddress = 0;
    }
};

TEST_F(OutputMapTest, RoutesByFunctionCodeInFixtureOrder) {
    m.setMapped(1, 0, 5, true);
    m.setMapped(1, 0, 2, true);
    m.setMapped(1, 0, 9, true);
    m.setMapped(2, 1, 5, true);  // another page
    const OutputMap map = compileOutputMap(m, lib, 0);
    ASSERT_EQ(map.fixturesOf(1).size(), 2u);
    EXPECT_EQ(map.fixturesOf(1)[0], 2);
    EXPECT_EQ(map.fixturesOf(1)[1], 5);
    EXPECT_TRUE(map.fixturesOf(2).empty());
    // "R" reaches both R channels of fixture 5: 512 + 10 + 0 and + 2.
    EXPECT_EQ(std::vector<std::uint16_t>(map.channelsOf(1, 1).begin(), map.channelsOf(1, 1).end()),
              (std::vector<std::uint16_t>{522, 524}));
    EXPECT_EQ(std::vector<std::uint16_t>(map.channelsOf(1, 2).begin(), map.channelsOf(1, 2).end()),
              (std::vector<std::uint16_t>{1, 523}));
    EXPECT_TRUE(map.channelsOf(1, 3).empty());  // code 0 reaches nothing
    EXPECT_EQ(map.byteTotal, 8);
}

TEST_F(OutputMapTest, APairKeepsAtMost255Channels) {
    // 9 fixtures of 32 "R" channels: 288 candidates for (1, 1).
    Material big = sized(1, 1, 1);
    big.setChannelFunction(1, 20);
    for (int f = 11; f <= 19; ++f) {
        Fixture& fx = lib.at(0, f);
        fx.startAddress = static_cast<std::int16_t>(1 + (f - 11) * 32);
        fx.channelCount = 32;
        fx.functions.fill(20);
        big.setMapped(1, 0, f, true);
    }
    const OutputMap map = compileOutputMap(big, lib, 0);
    ASSERT_EQ(map.channelsOf(1, 1).size(), 255u);
    EXPECT_EQ(map.channelsOf(1, 1).front(), 1);
    EXPECT_EQ(map.channelsOf(1, 1).back(), 255);  // the first 255 in compile order
    EXPECT_EQ(map.byteTotal, 510);
    EXPECT_EQ(map.fixturesOf(1).size(), 9u);
}

TEST_F(OutputMapTest, APageTableStaysWithinItsTwoByteLength) {
    // 40 Virtual Fixtures x 32 channels, each on 100 fixtures with 32 distinct functions: far more
    // than 65535 bytes of entries.
    Material big = sized(40, 32, 1);
    for (int k = 1; k <= 32; ++k)
        big.setChannelFunction(k, 90 + k);
    for (int f = 1; f <= 100; ++f) {
        Fixture& fx = lib.at(1, f);
        fx.startAddress = 1;
        fx.channelCount = 32;
        for (int i = 0; i < 32; ++i)
            fx.functions[i] = static_cast<std::uint8_t>(91 + i);
        for (int v = 1; v <= 40; ++v)
            big.setMapped(v, 1, f, true);
    }
    const OutputMap map = compileOutputMap(big, lib, 1);
    EXPECT_LE(map.byteTotal, kMaxAddressTableBytes);
    EXPECT_EQ(map.byteTotal, 2 * static_cast<int>(map.dmxChannels.size()));
    EXPECT_EQ(map.channelsOf(1, 1).size(), 100u);
    EXPECT_TRUE(map.channelsOf(40, 32).empty());
}

}  // namespace
}  // namespace kx
