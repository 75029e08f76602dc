#include <gtest/gtest.h>

#include "material_test_util.h"
#include "materials/motion_generator.h"

namespace kx {
namespace {

using test::patch;
using test::sized;

// A circle of radius 100 around (127, 127) for every Virtual Fixture.
Material circle(int fixtures, int channels) {
    Material m = sized(fixtures, channels, 0);
    m.setMotionMode(1);
    m.setMotionGlobal(kMotionSpeed, 10);
    for (int v = 1; v <= fixtures; ++v) {
        m.setMotionPerFixture(v, kCentreX, 127);
        m.setMotionPerFixture(v, kCentreY, 127);
        m.setMotionPerFixture(v, kScaleX, 100);
        m.setMotionPerFixture(v, kScaleY, 100);
        m.setMotionPerFixture(v, kRadius, 100);
    }
    return m;
}

TEST(CirclePoint, MatchesHandComputedPoints) {
    Material m = circle(2, 2);
    // r = angle x 3.14 / 180; X = 100 cos r + 127, Y = 100 sin r + 127.
    EXPECT_EQ(circlePoint(m, 1, 0), (CirclePoint{227, 127}));
    EXPECT_EQ(circlePoint(m, 1, 45), (CirclePoint{198, 198}));   // 197.74, 197.68
    EXPECT_EQ(circlePoint(m, 1, 90), (CirclePoint{127, 227}));   // 127.08, 227.00
    EXPECT_EQ(circlePoint(m, 1, 180), (CirclePoint{27, 127}));   // 27.00, 127.16
    EXPECT_EQ(circlePoint(m, 1, 370), (CirclePoint{225, 144}));  // taken as 10 degrees

    m.setMotionPerFixture(2, kAngleOffset, 30);
    m.setMotionPerFixture(2, kDirection, 1);
    EXPECT_EQ(circlePoint(m, 2, 60), (CirclePoint{127, 27}));  // 360 - 90 = 270

    // An ellipse: centre (100, 50), radius 40, X at 50 %, Y at 200 %, 30 degrees.
    m.setMotionPerFixture(2, kCentreX, 100);
    m.setMotionPerFixture(2, kCentreY, 50);
    m.setMotionPerFixture(2, kRadius, 40);
    m.setMotionPerFixture(2, kScaleX, 50);
    m.setMotionPerFixture(2, kScaleY, 0);  // 0 counts as 100
    m.setMotionPerFixture(2, kDirection, 0);
    m.setMotionPerFixture(2, kAngleOffset, 0);
    EXPECT_EQ(circlePoint(m, 2, 30), (CirclePoint{117, 70}));  // 117.32, 69.99
}

TEST(CirclePoint, ClampsRoundsHalvesToEvenAndLocks) {
    Material m = circle(1, 2);
    m.setMotionPerFixture(1, kRadius, 200);
    EXPECT_EQ(circlePoint(m, 1, 0).x, 255);  // 327
    EXPECT_EQ(circlePoint(m, 1, 180).x, 0);  // -73
    m.setMotionPerFixture(1, kRadius, 1);
    m.setMotionPerFixture(1, kScaleX, 50);
    m.setMotionPerFixture(1, kCentreX, 10);
    EXPECT_EQ(circlePoint(m, 1, 0).x, 10);  // 10.5
    m.setMotionPerFixture(1, kCentreX, 11);
    EXPECT_EQ(circlePoint(m, 1, 0).x, 12);  // 11.5
    m.setMotionPerFixture(1, kLockX, 1);
    m.setMotionPerFixture(1, kLockY, 1);
    for (int a = 0; a <= 360; a += 45)
        EXPECT_EQ(circlePoint(m, 1, a), (CirclePoint{11, 127}));
}

TEST(CircleSteps, OneRevolutionAsFadingSteps) {
    Material m = circle(2, 4);
    m.setStepCount(50);
    m.setStepTime(3, 42);
    ASSERT_TRUE(generateCircleSteps(m));
    EXPECT_EQ(m.stepCount(), 37);
    EXPECT_EQ(m.value(1, 1, 1), 225);  // Step 1 at 10 degrees
    EXPECT_EQ(m.value(1, 1, 2), 144);
    EXPECT_EQ(m.value(9, 2, 1), 127);  // Step 9 at 90 degrees
    EXPECT_EQ(m.value(9, 2, 2), 227);
    EXPECT_EQ(m.value(37, 1, 1), 225);  // the last at 370 degrees, past a full turn
    for (int s = 1; s <= 37; ++s) {
        EXPECT_EQ(m.value(s, 1, 3), 0);
        EXPECT_EQ(m.value(s, 2, 4), 0);
    }
    EXPECT_EQ(m.stepTime(3), 42);  // times are not touched
    EXPECT_EQ(m.allStepsFade(), 1);
    EXPECT_EQ(m.perStepTime(), 0);
    EXPECT_EQ(m.unifiedTime(), 1);

    m.setMotionGlobal(kMotionSpeed, 255);
    generateCircleSteps(m);
    EXPECT_EQ(m.stepCount(), 2);
    m.setMotionGlobal(kMotionSpeed, 1);
    generateCircleSteps(m);
    EXPECT_EQ(m.stepCount(), 361);
    m.setMotionGlobal(kMotionSpeed, 0);  // from a file: the panel's default speed
    generateCircleSteps(m);
    EXPECT_EQ(m.stepCount(), 37);
    m.setMotionMode(0);
    EXPECT_FALSE(generateCircleSteps(m));
}

TEST(LiveCircle, TurnsEveryTickThroughTheOutputMap) {
    FixtureLibrary lib;
    patch(lib, 0, 4, 0, 100, {1, 2, 5});  // X, Y, speed
    Material m = circle(1, 3);
    for (int k = 1; k <= 3; ++k)
        m.setChannelFunction(k, k == 3 ? 5 : k);
    m.setValue(0, 1, 3, 99);
    m.setMapped(1, 0, 4, true);
    MaterialOutput engine;
    DmxFrame frame{};
    frame[102] = 1;
    engine.previewCurrentStep(m, 1, 0, lib, frame);
    EXPECT_EQ(engine.circleAngle(), 10);
    EXPECT_EQ(frame[100], 225);
    EXPECT_EQ(frame[101], 144);
    EXPECT_EQ(frame[102], 0);  // other channels are written as 0
    for (int i = 0; i < 35; ++i)
        engine.previewCurrentStep(m, 1, 0, lib, frame);
    EXPECT_EQ(engine.circleAngle(), 360);
    engine.previewCurrentStep(m, 1, 0, lib, frame);
    EXPECT_EQ(engine.circleAngle(), 10);
}

TEST(MotionParameters, RangesDefaultsAndSelectedFixtures) {
    Material m = sized(3, 2, 0);
    applyMotionDefaults(m, 2);
    EXPECT_EQ(m.motionGlobal(kMotionSpeed), 10);
    EXPECT_EQ(m.motionPerFixture(2, kCentreX), 0);  // 0 is inside its range
    EXPECT_EQ(m.motionPerFixture(2, kRadius), 10);
    EXPECT_EQ(m.motionPerFixture(2, kScaleX), 100);
    EXPECT_EQ(m.motionPerFixture(1, kRadius), 0);  // only the shown fixture

    EXPECT_FALSE(setGlobalParameter(m, kMotionSpeed, 0));
    EXPECT_FALSE(setGlobalParameter(m, 2, 5));
    EXPECT_TRUE(setGlobalParameter(m, kMotionSpeed, 255));
    EXPECT_FALSE(setFixtureParameter(m, 2, kAngleOffset, 361, {1}, false));
    EXPECT_TRUE(setFixtureParameter(m, 2, kAngleOffset, 360, {1, 2}, false));
    EXPECT_EQ(m.motionPerFixture(1, kAngleOffset), 360);
    EXPECT_EQ(m.motionPerFixture(1, kRadius), 0);
    EXPECT_TRUE(setFixtureParameter(m, 2, kLockY, 1, {3}, true));
    EXPECT_EQ(m.motionPerFixture(3, kRadius), 10);
    EXPECT_EQ(m.motionPerFixture(3, kAngleOffset), 360);
    EXPECT_EQ(m.motionPerFixture(3, kLockY), 1);
}

}  // namespace
}  // namespace kx
