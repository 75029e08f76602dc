#include <gtest/gtest.h>

#include <vector>

#include "shell/fader.h"
#include "shell/wheel.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

constexpr int kTrack = 250 + 255 * 10;  // ten twips per unit

TEST(FaderGeometry, EndsAndEveryValueReadsBack) {
    EXPECT_EQ(faderPositionOf(255, 255, kTrack), 0);
    EXPECT_EQ(faderPositionOf(0, 255, kTrack), 2550);
    EXPECT_EQ(faderPositionOf(100, 255, kTrack), 1550);
    for (int height : {kTrack, 2000, 3111, 4321, 251 + 255}) {
        for (int max : {255, 100, 7}) {
            for (int v = 0; v <= max; ++v) {
                ASSERT_EQ(faderValueOf(faderPositionOf(v, max, height), max, height), v)
                    << "height " << height << " max " << max;
            }
        }
    }
    // Below the bottom reads 0; a track too short to travel reads its top.
    EXPECT_EQ(faderValueOf(2600, 255, kTrack), 0);
    EXPECT_EQ(faderValueOf(1555, 255, kTrack), 99);
    EXPECT_EQ(faderValueOf(0, 255, 200), 255);
}

TEST(FaderModel, SetValueOnlyWithinRange) {
    FaderModel f;
    f.setTrackHeight(kTrack);
    EXPECT_TRUE(f.setValue(255));
    EXPECT_EQ(f.position(), 0);
    EXPECT_FALSE(f.setValue(256));
    EXPECT_FALSE(f.setValue(-1));
    EXPECT_EQ(f.position(), 0);
    EXPECT_TRUE(f.setValue(0));
    EXPECT_EQ(f.position(), 2550);
}

TEST(FaderModel, PressBelowTheKnobCentresItAndTheDragContinuesFromThere) {
    FaderModel f;
    f.setTrackHeight(kTrack);
    f.setValue(255);  // knob 0..250
    // Click at 1625: the knob centres on the click, top at 1500, value 255 - 150.
    EXPECT_EQ(f.press(1625), 105);
    EXPECT_EQ(f.position(), 1500);
    EXPECT_EQ(f.move(1725), 95);
    EXPECT_EQ(f.position(), 1600);
    f.release();
    EXPECT_FALSE(f.move(100));
    EXPECT_EQ(f.position(), 1600);
}

TEST(FaderModel, DragOnTheKnobKeepsTheGripAndEndsClampToTheTrack) {
    FaderModel f;
    f.setTrackHeight(kTrack);
    f.setValue(100);                         // knob top 1550
    EXPECT_EQ(f.press(1600), std::nullopt);  // on the knob: no jump, nothing reported
    EXPECT_EQ(f.move(1610), 99);
    EXPECT_EQ(f.position(), 1560);
    // Above the track: top; within half a knob of the bottom: bottom.
    EXPECT_EQ(f.move(-5), 255);
    EXPECT_EQ(f.move(kTrack - 100), 0);
    EXPECT_EQ(f.position(), 2550);
    // A fast move that would carry the knob past the top lands it on the top.
    f.release();
    f.setValue(0);
    f.press(2700);  // grip 150 below the knob top
    EXPECT_EQ(f.move(10), 255);
    EXPECT_EQ(f.position(), 0);
    // A click in the top half knob of the track jumps to the top.
    f.release();
    f.setValue(0);
    EXPECT_EQ(f.press(60), 255);
}

class WheelTest : public test::FakePlatformTest {
  protected:
    WheelRouter router;
    std::vector<std::pair<char, std::pair<int, int>>> steps;
    bool closing = false;

    void SetUp() override {
        router.addTargets(1000, [this](int d, int ch) { steps.push_back({'L', {d, ch}}); });
        router.addTargets(2000, [this](int d, int ch) { steps.push_back({'M', {d, ch}}); });
        router.closing = [this] { return closing; };
    }
};

TEST_F(WheelTest, NotchesGoToTheTargetWhereverItIs) {
    router.onWheel(120);  // no target
    EXPECT_TRUE(steps.empty());
    EXPECT_FALSE(router.wantsWheel());
    router.wheelTarget = 1007;
    EXPECT_TRUE(router.wantsWheel());
    router.onWheel(120);
    router.onWheel(-120);
    router.onWheel(240);  // several notches at once
    router.onWheel(60);   // a high-resolution wheel
    router.wheelTarget = 2032;
    router.onWheel(-120);
    router.wheelTarget = 3001;  // nobody's channel: not even taken
    EXPECT_FALSE(router.wantsWheel());
    router.onWheel(120);
    router.wheelTarget = 999;
    EXPECT_FALSE(router.wantsWheel());
    using S = decltype(steps);
    EXPECT_EQ(steps, (S{{'L', {1, 7}}, {'L', {0, 7}}, {'M', {0, 32}}}));
    steps.clear();
    closing = true;
    router.wheelTarget = 1001;
    router.onWheel(120);
    EXPECT_TRUE(steps.empty());
}

TEST_F(WheelTest, ArrowKeysStepOncePerPressEvenWithTheWheelDisabled) {
    router.wheelDisabled = true;
    fake.pressKey(WheelRouter::kVirtualKeyUp);
    router.pollArrowKeys(fake);  // no target: the key is not even looked at
    EXPECT_TRUE(steps.empty());
    router.wheelTarget = 2005;
    router.pollArrowKeys(fake);
    router.pollArrowKeys(fake);  // still held, no new press
    fake.pressKey(WheelRouter::kVirtualKeyDown);
    router.pollArrowKeys(fake);
    using S = decltype(steps);
    EXPECT_EQ(steps, (S{{'M', {1, 5}}, {'M', {0, 5}}}));
}

}  // namespace
}  // namespace kx
