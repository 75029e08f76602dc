#include <gtest/gtest.h>

#include "monitor/lamp_look.h"
#include "monitor_test_util.h"

namespace kx {
namespace {

using test::patchFixture;
namespace code = test::code;

class LampLookTest : public ::testing::Test {
  protected:
    // Sets the frame values of a fixture's channels 1, 2, ...
    void play(const Fixture& f, std::initializer_list<int> values) {
        int ch = 1;
        for (int v : values)
            frame[static_cast<std::size_t>(frameIndex(f, ch++))] = static_cast<std::uint8_t>(v);
    }
    LampLook look(const Fixture& f) { return lampLook(f, frame, channelRoles(names)); }

    FixtureLibrary lib;
    DmxFrame frame{};
    ChannelFunctionNames names = defaultChannelFunctionNames();
};

TEST_F(LampLookTest, ColourChannelsMixTheLightAndTheDimmerScalesIt) {
    Fixture& rgb = patchFixture(lib, 0, 1, 0, 1, {code::R, code::G, code::B});
    play(rgb, {255, 0, 0});
    LampLook l = look(rgb);
    EXPECT_TRUE(l.lit);
    EXPECT_EQ(l.colour, (Rgb{255, 0, 0}));
    EXPECT_FALSE(l.hasBeam);
    EXPECT_EQ(l.strobe, 0);

    // A dimmer at 128 halves it, wherever the dimmer sits among the channels.
    Fixture& dimmed = patchFixture(lib, 0, 2, 0, 10, {code::G, code::ColourDimmer, code::R});
    play(dimmed, {0, 128, 255});
    EXPECT_EQ(look(dimmed).colour, (Rgb{128, 0, 0}));
    play(dimmed, {0, 0, 255});
    EXPECT_FALSE(look(dimmed).lit);

    // White adds to every component, clamped.
    Fixture& rgbw = patchFixture(lib, 0, 3, 1, 1, {code::R, code::G, code::B, code::W});
    play(rgbw, {255, 0, 40, 100});
    EXPECT_EQ(look(rgbw).colour, (Rgb{255, 100, 140}));

    // Amber is a renamed custom function; it adds red and most of green.
    names[code::Custom1] = "琥珀";
    Fixture& amber = patchFixture(lib, 0, 4, 0, 30, {code::Custom1, code::B});
    play(amber, {255, 0});
    EXPECT_EQ(look(amber).colour, (Rgb{255, 191, 0}));

    // A dimmer alone is white light.
    Fixture& dimmerOnly = patchFixture(lib, 0, 5, 0, 40, {code::ColourDimmer});
    play(dimmerOnly, {51});
    EXPECT_EQ(look(dimmerOnly).colour, (Rgb{51, 51, 51}));
}

TEST_F(LampLookTest, UnnamedAndEmptyFunctionsAreIgnoredAndZeroFixturesAreDark) {
    Fixture& par = patchFixture(lib, 0, 1, 0, 1, {code::R, code::Unnamed, code::G, 0});
    play(par, {0, 255, 0, 255});
    EXPECT_FALSE(look(par).lit);
    play(par, {0, 255, 77, 255});
    EXPECT_EQ(look(par).colour, (Rgb{0, 77, 0}));

    Fixture& nothingKnown = patchFixture(lib, 0, 2, 0, 20, {code::Unnamed, 0});
    play(nothingKnown, {255, 255});
    EXPECT_FALSE(look(nothingKnown).lit);

    // A fixture without a light channel shows its brightest named channel.
    Fixture& smoke = patchFixture(lib, 0, 3, 0, 30, {code::Smoke, code::Custom1});
    EXPECT_FALSE(look(smoke).lit);
    play(smoke, {0, 200});
    EXPECT_EQ(look(smoke).colour, (Rgb{200, 200, 200}));
}

TEST_F(LampLookTest, StrobeFlashesBetweenItsEndsAndTheWheelNamesItsColour) {
    Fixture& wash =
        patchFixture(lib, 0, 1, 0, 1, {code::ColourStrobe, code::R, code::DimmerStrobe});
    play(wash, {0, 255, 255});
    EXPECT_EQ(look(wash).strobe, 0);
    play(wash, {255, 255, 255});
    EXPECT_EQ(look(wash).strobe, 0);
    play(wash, {kStrobeFirstFlashing, 255, 255});
    EXPECT_EQ(look(wash).strobe, kStrobeFirstFlashing);
    play(wash, {128, 255, 64});  // "调光/频闪" dims
    EXPECT_EQ(look(wash).strobe, 128);
    EXPECT_EQ(look(wash).colour, (Rgb{64, 0, 0}));

    Fixture& spot = patchFixture(lib, 0, 2, 0, 20, {code::Wheel, code::Shutter});
    play(spot, {0, 255});
    EXPECT_EQ(look(spot).wheel, "白");
    EXPECT_EQ(look(spot).colour, (Rgb{255, 255, 255}));
    play(spot, {20, 255});
    EXPECT_EQ(look(spot).wheel, "红");
    EXPECT_EQ(look(spot).colour, (Rgb{255, 0, 0}));
    play(spot, {127, 255});
    EXPECT_EQ(look(spot).wheel, "紫");
    play(spot, {200, 255});
    EXPECT_EQ(look(spot).wheel, "流水");

    // Colour channels win over the wheel; the wheel is still named.
    Fixture& both = patchFixture(lib, 0, 3, 0, 40, {code::Wheel, code::B});
    play(both, {40, 90});
    EXPECT_EQ(look(both).colour, (Rgb{0, 0, 90}));
    EXPECT_EQ(look(both).wheel, "橙");
}

TEST_F(LampLookTest, PanAndTiltGiveTheBeamWithTheirFineChannels) {
    Fixture& head = patchFixture(lib, 0, 1, 0, 1, {code::X, code::XFine, code::Y, code::W});
    play(head, {255, 255, 0, 255});
    LampLook l = look(head);
    EXPECT_TRUE(l.hasBeam);
    EXPECT_DOUBLE_EQ(l.pan, 1.0);
    EXPECT_DOUBLE_EQ(l.tilt, 0.0);
    play(head, {128, 0, 64, 255});
    l = look(head);
    EXPECT_DOUBLE_EQ(l.pan, 128 * 256 / 65535.0);
    EXPECT_DOUBLE_EQ(l.tilt, 64 / 255.0);
    // Tilt alone still makes a beam; pan rests centred.
    Fixture& tiltOnly = patchFixture(lib, 0, 2, 0, 20, {code::Y});
    EXPECT_TRUE(look(tiltOnly).hasBeam);
    EXPECT_DOUBLE_EQ(look(tiltOnly).pan, 0.5);
}

TEST_F(LampLookTest, TheLibraryGivesOneLampPerPatchedFixtureWithOverlapsAndOverrunsMarked) {
    patchFixture(lib, 0, 5, 0, 1, {code::R, code::G, code::B});
    patchFixture(lib, 0, 2, 0, 3, {code::R, code::G});  // its channel 1 is fixture 5's blue
    patchFixture(lib, 1, 1, 3, 510, {code::R, code::G, code::B, code::W, code::R, code::G});
    patchFixture(lib, 1, 7, kPortVJ, 511, {code::R, code::G, code::B});  // runs off the frame
    patchFixture(lib, 0, 9, 7, 100, {code::R});     // a damaged port plays on A
    patchFixture(lib, 0, 10, 0, 30000, {code::R});  // far outside the frame
    lib.at(0, 3).name = "named, not patched";
    patchFixture(lib, 2, 1, 0, 1, {code::R});  // a page not in use
    frame[3] = 200;
    frame[2050] = 99;  // VJ 2: channel 5 (red) of page 2's fixture 1
    frame[100] = 10;
    frame[2560] = 7;

    const std::vector<LampLook> looks = lampLooks(lib, frame, names);
    ASSERT_EQ(looks.size(), 6u);
    const auto at = [&](std::size_t i) { return std::make_pair(looks[i].page, looks[i].number); };
    EXPECT_EQ(at(0), std::make_pair(0, 2));
    EXPECT_EQ(at(1), std::make_pair(0, 5));
    EXPECT_EQ(at(2), std::make_pair(0, 9));
    EXPECT_EQ(at(3), std::make_pair(0, 10));
    EXPECT_EQ(at(4), std::make_pair(1, 1));
    EXPECT_EQ(at(5), std::make_pair(1, 7));

    EXPECT_TRUE(looks[0].overlaps);
    EXPECT_TRUE(looks[1].overlaps);
    EXPECT_EQ(looks[0].colour, (Rgb{200, 0, 0}));
    EXPECT_EQ(looks[1].colour, (Rgb{0, 0, 200}));
    EXPECT_EQ(looks[2].colour, (Rgb{10, 0, 0}));
    EXPECT_FALSE(looks[2].overlaps);
    EXPECT_TRUE(looks[3].overruns);
    EXPECT_FALSE(looks[3].lit);
    EXPECT_TRUE(looks[4].overruns);
    EXPECT_EQ(looks[4].colour, (Rgb{99, 0, 0}));
    EXPECT_TRUE(looks[5].overruns);
    EXPECT_EQ(looks[5].colour, (Rgb{0, 7, 0}));  // VJ 512 is green; blue never reaches it
    EXPECT_EQ(transmittedValue(frame, 2561), 0);
}

}  // namespace
}  // namespace kx
