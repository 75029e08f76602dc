#include <gtest/gtest.h>

#include "monitor/channel_map.h"
#include "monitor/lamp_look.h"
#include "monitor_test_util.h"

namespace kx {
namespace {

using test::patchFixture;
namespace code = test::code;

TEST(ChannelMapTest, LabelsNamePortAndAddress) {
    EXPECT_EQ(channelLabel(1), "A-1");
    EXPECT_EQ(channelLabel(512), "A-512");
    EXPECT_EQ(channelLabel(513), "B-1");
    EXPECT_EQ(channelLabel(2048), "D-512");
    EXPECT_EQ(channelLabel(2049), "VJ-1");
    EXPECT_EQ(channelLabel(2560), "VJ-512");
}

TEST(ChannelMapTest, CellsNameTheirFixtureChannelAndFunction) {
    FixtureLibrary lib;
    ChannelFunctionNames names = defaultChannelFunctionNames();
    patchFixture(lib, 0, 3, 0, 8, {code::X, code::Y, 5, 0, code::R}, "摇头灯");
    patchFixture(lib, 1, 4, 1, 1, {code::Unnamed, code::Custom1});
    names[code::Custom1] = "烟雾";
    const ChannelMap map = ChannelMap::of(lib);

    EXPECT_EQ(describeChannel(12, map, lib, names), "A-12  灯具 3 [摇头灯] 通道 5 R");
    EXPECT_EQ(describeChannel(11, map, lib, names), "A-11  灯具 3 [摇头灯] 通道 4 空");
    EXPECT_EQ(describeChannel(513, map, lib, names), "B-1  页2 灯具 4 通道 1 #16");
    EXPECT_EQ(describeChannel(514, map, lib, names), "B-2  页2 灯具 4 通道 2 烟雾");
    EXPECT_EQ(describeChannel(13, map, lib, names), "A-13  未配接");
    EXPECT_TRUE(map.patched(8));
    EXPECT_FALSE(map.patched(13));
    EXPECT_FALSE(map.overlaps(8));
    // Outside the transmitted channels nothing is patched and nothing breaks.
    EXPECT_FALSE(map.patched(0));
    EXPECT_FALSE(map.patched(2561));
    EXPECT_FALSE(ChannelMap().patched(8));
}

TEST(ChannelMapTest, OverlapsAndOverrunsAreMarkedOnTheirCells) {
    FixtureLibrary lib;
    const ChannelFunctionNames names = defaultChannelFunctionNames();
    patchFixture(lib, 0, 1, 0, 1, {code::R, code::G, code::B}, "帕灯");
    patchFixture(lib, 0, 2, 0, 3, {code::W, code::R});
    patchFixture(lib, 0, 8, 3, 510, {code::R, code::G, code::B, code::W, code::X, code::Y});
    patchFixture(lib, 1, 9, kPortVJ, 512, {code::R, code::G});
    patchFixture(lib, 1, 10, 0, 20000, {code::R});
    const ChannelMap map = ChannelMap::of(lib);

    EXPECT_TRUE(map.overlaps(3));
    EXPECT_FALSE(map.overlaps(2));
    EXPECT_EQ(map.owners(3), (std::vector<ChannelOwner>{{0, 1, 3, false}, {0, 2, 1, false}}));
    EXPECT_EQ(describeChannel(3, map, lib, names),
              "A-3  重叠: 灯具 1 [帕灯] 通道 3 B / 灯具 2 通道 1 W");

    // D 510 with 6 channels: 4-6 land on VJ 1-3.
    EXPECT_FALSE(map.overruns(2048));
    EXPECT_TRUE(map.overruns(2049));
    EXPECT_TRUE(map.overruns(2051));
    EXPECT_EQ(describeChannel(2050, map, lib, names), "VJ-2  灯具 8 通道 5 X (越界)");
    // VJ 512: channel 2 is never sent, channel 1 is there.
    EXPECT_EQ(map.owners(2560).size(), 1u);
    EXPECT_FALSE(map.overruns(2560));
}

// The library grid reads each fixture's clash from the same map: with whom it overlaps (both ways,
// each once) and whether it runs past its port.
TEST(ChannelMapTest, AFixtureClashNamesTheOthersAndTheOverrun) {
    FixtureLibrary lib;
    patchFixture(lib, 0, 1, 0, 1, {code::R, code::G, code::B}, "RGB帕灯");
    patchFixture(lib, 0, 4, 0, 2, {code::R, code::G, code::B}, "RGB帕灯");
    patchFixture(lib, 1, 5, 0, 3, {code::W});
    patchFixture(lib, 0, 7, 0, 7, {code::R, code::G, code::B});
    patchFixture(lib, 0, 8, 3, 511, {code::R, code::G, code::B});
    const ChannelMap map = ChannelMap::of(lib);

    const FixtureClash one = fixtureClash(map, lib, 0, 1);
    EXPECT_EQ(one.overlapsWith, (std::vector<std::pair<int, int>>{{0, 4}, {1, 5}}));
    EXPECT_FALSE(one.overruns);
    EXPECT_EQ(clashText(one, lib), "与 灯具 4 [RGB帕灯]、页2 灯具 5 重叠");
    EXPECT_EQ(fixtureClash(map, lib, 0, 4).overlapsWith,
              (std::vector<std::pair<int, int>>{{0, 1}, {1, 5}}));
    EXPECT_EQ(clashText(fixtureClash(map, lib, 1, 5), lib),
              "与 灯具 1 [RGB帕灯]、灯具 4 [RGB帕灯] 重叠");
    EXPECT_FALSE(fixtureClash(map, lib, 0, 7).any());
    EXPECT_EQ(clashText(fixtureClash(map, lib, 0, 7), lib), "");

    const FixtureClash past = fixtureClash(map, lib, 0, 8);
    EXPECT_TRUE(past.overruns);
    EXPECT_TRUE(past.overlapsWith.empty());
    EXPECT_EQ(clashText(past, lib), "超出端口");
    // Unpatched and out-of-range slots have nothing to say.
    EXPECT_FALSE(fixtureClash(map, lib, 0, 9).any());
    EXPECT_FALSE(fixtureClash(map, lib, 0, 101).any());
}

}  // namespace
}  // namespace kx
