#include <gtest/gtest.h>

#include <QStringList>

#include "material_test_util.h"
#include "materials/material_output.h"

namespace kx {
namespace {

using test::patch;
using test::sized;

std::vector<int> cells(const ValueGrid& g) {
    return std::vector<int>(g.cells.begin(), g.cells.begin() + g.fixtures * g.channels);
}

TEST(MaterialOutput, BrightnessRoundsHalvesToEven) {
    Material m = sized(1, 5, 1);
    const int values[] = {255, 5, 1, 3, 100};
    for (int k = 1; k <= 5; ++k)
        m.setValue(1, 1, k, values[k - 1]);
    EXPECT_EQ(cells(scaledStepValues(m, 1)), (std::vector<int>{255, 5, 1, 3, 100}));
    m.setBrightnessCut(50);
    EXPECT_EQ(cells(scaledStepValues(m, 1)), (std::vector<int>{128, 2, 0, 2, 50}));
    m.setBrightnessCut(100);
    EXPECT_EQ(cells(scaledStepValues(m, 1)), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(scaledStepValues(sized(1, 5, 0), 0).fixtures, 0);  // no Steps: empty grid
}

TEST(MaterialOutput, FadesFollowTheStepFunction) {
    ValueGrid from;
    from.fixtures = 1;
    from.channels = 2;
    from.cells[1] = 200;
    ValueGrid to = from;
    to.cells[0] = 255;
    to.cells[1] = 100;
    std::vector<int> up;
    for (int r = 1; r <= 10; ++r)
        up.push_back(fadeValues(from, to, r, 10).cells[0]);
    EXPECT_EQ(up, (std::vector<int>{25, 51, 76, 102, 127, 153, 178, 204, 229, 255}));
    std::vector<int> down;
    for (int r = 1; r <= 4; ++r)
        down.push_back(fadeValues(from, to, r, 4).cells[1]);
    EXPECT_EQ(down, (std::vector<int>{175, 150, 125, 100}));
    EXPECT_EQ(fadeValues(from, to, 1, 0).cells[0], 255);  // no duration: the target
}

// Plays a Material tick by tick and records the Step of each tick's grid (by its value / 10).
class RunTest : public ::testing::Test {
  protected:
    Material m = sized(1, 1, 6);
    MaterialRunState run;
    int duration = 0;

    void SetUp() override {
        m.setUnifiedTime(2);
        for (int s = 1; s <= 6; ++s)
            m.setValue(s, 1, 1, 10 * s);
    }
    int tick(bool jump = false) { return advanceMaterial(m, run, jump, duration).cells[0] / 10; }
    std::vector<int> play(int ticks) {
        std::vector<int> steps;
        for (int i = 0; i < ticks; ++i)
            steps.push_back(tick());
        return steps;
    }
};

TEST_F(RunTest, UnifiedAndPerStepTimes) {
    EXPECT_EQ(play(13), (std::vector<int>{1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 1}));
    EXPECT_EQ(duration, 2);
    m.setPerStepTime(1);
    m.setStepTime(1, 3);
    m.setStepTime(2, 1);
    m.setStepTime(3, 0);  // ends after one tick
    run = {};
    EXPECT_EQ(play(6), (std::vector<int>{1, 1, 1, 2, 3, 4}));
    EXPECT_EQ(duration, 0);
}

TEST_F(RunTest, FadingStepsReachTheNextValueOnTheirLastTick) {
    m.setUnifiedTime(4);
    m.setFadeToNext(6, 1);  // 60 -> 10 over four ticks
    run = {6, 1};
    std::vector<int> values;
    for (int i = 0; i < 5; ++i)
        values.push_back(advanceMaterial(m, run, false, duration).cells[0]);
    EXPECT_EQ(values, (std::vector<int>{48, 35, 23, 10, 10}));
}

TEST_F(RunTest, JumpRangesHoldTheirLastStepUntilARequest) {
    m.setJumpSize(3);
    EXPECT_EQ(play(10), (std::vector<int>{1, 1, 2, 2, 3, 3, 3, 3, 3, 3}));
    EXPECT_EQ(tick(true), 3);
    EXPECT_EQ(play(6), (std::vector<int>{4, 4, 5, 5, 6, 6}));
    EXPECT_EQ(play(2), (std::vector<int>{6, 6}));
    tick(true);
    EXPECT_EQ(tick(), 1);
}

TEST_F(RunTest, ARequestCutsTheRangeShort) {
    m.setJumpSize(3);
    EXPECT_EQ(tick(true), 1);  // the request arrives during Step 1
    EXPECT_EQ(tick(), 4);
}

TEST_F(RunTest, AtRangeEndARequestWaitsForTheStepToRunOut) {
    m.setJumpSize(3);
    m.setUnifiedTime(4);
    m.setJumpAtRangeEnd(1);
    EXPECT_EQ(tick(true), 1);  // Step 1 has ticks left: ignored
    EXPECT_EQ(play(3), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(play(7), (std::vector<int>{2, 2, 2, 2, 3, 3, 3}));
    EXPECT_EQ(tick(true), 3);  // Step 3's last tick
    EXPECT_EQ(tick(), 4);

    run = {3, 4};
    EXPECT_EQ(play(3), (std::vector<int>{3, 3, 3}));  // held
    tick(true);
    EXPECT_EQ(tick(), 4);
}

TEST_F(RunTest, JumpSizeOneHoldsEveryStep) {
    m.setJumpSize(1);
    EXPECT_EQ(play(5), (std::vector<int>{1, 1, 1, 1, 1}));
    tick(true);
    EXPECT_EQ(play(4), (std::vector<int>{2, 2, 2, 2}));
}

class RouteTest : public ::testing::Test {
  protected:
    FixtureLibrary lib;
    Material m = sized(1, 3, 1);
    MaterialOutput engine;
    DmxFrame frame{};

    void SetUp() override {
        m.setChannelFunction(1, 10);  // channel 1: dimmer
        m.setChannelFunction(2, 20);  // R
        m.setChannelFunction(3, 21);  // G
        m.setValue(1, 1, 1, 51);
        m.setValue(1, 1, 2, 200);
        m.setValue(1, 1, 3, 100);
        patch(lib, 0, 1, 0, 1, {10, 20, 21, 150});  // port A 1-4; channel 4 a Temporary Channel
        patch(lib, 1, 1, 1, 1, {20});               // page 1: port B 1
        lib.at(0, 1).adjustValues[3] = 77;
        lib.at(0, 1).adjustValues[1] = 99;
        m.setMapped(1, 0, 1, true);
        m.setMapped(1, 1, 1, true);
    }
};

TEST_F(RouteTest, StaticPreviewRoutesThroughBothPagesThenTemporaryChannels) {
    m.setTempChannel(1, 150);
    engine.previewCurrentStep(m, 1, 1, lib, frame);
    EXPECT_EQ(frame[1], 51);
    EXPECT_EQ(frame[2], 200);
    EXPECT_EQ(frame[3], 100);
    EXPECT_EQ(frame[4], 77);
    EXPECT_EQ(frame[513], 200);
    m.setTempChannel(2, 20);  // a Temporary Channel overrides the Material's value
    engine.previewCurrentStep(m, 1, 1, lib, frame);
    EXPECT_EQ(frame[2], 99);
    EXPECT_EQ(frame[513], 0);  // page 1's fixture has adjust value 0
}

TEST_F(RouteTest, VirtualDimmingInThePreviews) {
    m.setVirtualDimming(1);  // alone it looks like no dimming
    engine.previewCurrentStep(m, 1, 1, lib, frame);
    EXPECT_EQ(frame[2], 200);

    // Channel 1 as master dimmer, previewed alone: only the Temporary Channels show, scaled by
    // 51 / 255; its own channels stay 0 and channel 1 is written nowhere.
    frame.fill(0);
    m.setVirtualDimming(2);
    m.setTempChannel(1, 20);
    m.setTempChannel(2, 150);
    engine.previewCurrentStep(m, 1, 1, lib, frame);
    EXPECT_EQ(frame[1], 0);
    EXPECT_EQ(frame[2], 20);  // 99 x 51 / 255 = 19.8
    EXPECT_EQ(frame[3], 0);
    EXPECT_EQ(frame[4], 77);  // not a Material channel: not dimmed
    EXPECT_EQ(frame[513], 0);
}

TEST_F(RouteTest, EffectPassesDimThroughTheBuffer) {
    engine.beginTick(frame);
    Material controlled = m;
    controlled.setVirtualDimming(1);
    Material master = m;
    master.setVirtualDimming(2);
    master.setValue(1, 1, 1, 128);
    engine.route(false, controlled, 1, lib, scaledStepValues(controlled, 1), frame);
    EXPECT_EQ(frame[2], 0);  // controlled values wait in the buffer
    EXPECT_EQ(engine.dimmingBuffer()[2], 200);
    engine.route(false, master, 2, lib, scaledStepValues(master, 1), frame);
    EXPECT_EQ(frame[2], 100);  // 200 x 128 / 255 = 100.39
    EXPECT_EQ(frame[3], 50);   // 100 x 128 / 255 = 50.2
    EXPECT_EQ(frame[513], 100);
    engine.beginTick(frame);
    EXPECT_EQ(engine.dimmingBuffer()[2], 0);
}

TEST_F(RouteTest, MapsAreCompiledOnceAndFollowEveryRoutingOrPatchChange) {
    OutputMapCache& cache = engine.maps();
    engine.previewCurrentStep(m, 1, 1, lib, frame);
    const std::uint64_t once = cache.compilations();
    m.setValue(1, 1, 2, 7);  // values and options do not touch the maps
    m.setBrightnessCut(0);
    lib.at(0, 1).name = "par";
    lib.at(0, 1).testValues[0] = 3;
    engine.beginTick(frame);
    engine.previewCurrentStep(m, 1, 1, lib, frame);
    EXPECT_EQ(cache.compilations(), once);
    EXPECT_EQ(frame[2], 7);

    // Each change is on the fixtures at the next tick.
    auto tick = [&] {
        engine.beginTick(frame);
        engine.previewCurrentStep(m, 1, 1, lib, frame);
    };
    lib.at(0, 1).startAddress = 11;  // the patch moves
    tick();
    EXPECT_EQ(frame[2], 0);
    EXPECT_EQ(frame[12], 7);
    lib.at(0, 1).functions[1] = 21;  // R becomes G on the fixture
    tick();
    EXPECT_EQ(frame[12], 100);
    m.setChannelFunction(3, 22);  // the Material's G becomes B
    tick();
    EXPECT_EQ(frame[12], 0);
    m.setMapped(1, 0, 1, false);
    tick();
    EXPECT_EQ(frame[11], 0);
    EXPECT_EQ(frame[513], 7);
    m.setFixtureCount(0);
    tick();
    EXPECT_EQ(frame[513], 0);
    EXPECT_EQ(cache.compilations(), once + 5);

    // Another Material under the same number is compiled for itself.
    Material other = m;
    other.setFixtureCount(1);
    other.setMapped(1, 0, 1, true);
    engine.beginTick(frame);
    engine.previewCurrentStep(other, 1, 1, lib, frame);
    EXPECT_EQ(frame[11], 51);
}

TEST_F(RouteTest, OverlappingFixturesTakeTheLastDriversTemporaryValues) {
    // Fixture 2 sits on fixture 1's channels; Virtual Fixture 2 drives fixture 1, 1 drives 2.
    patch(lib, 0, 2, 0, 1, {150});
    lib.at(0, 2).adjustValues[0] = 5;
    lib.at(0, 1).adjustValues[0] = 6;
    lib.at(0, 1).functions[0] = 150;
    m.setFixtureCount(2);
    m.setMapped(1, 0, 1, false);
    m.setMapped(1, 1, 1, false);
    m.setMapped(1, 0, 2, true);
    m.setMapped(2, 0, 1, true);
    m.setTempChannel(1, 150);
    engine.previewCurrentStep(m, 1, 1, lib, frame);
    EXPECT_EQ(frame[1], 6);  // written for Virtual Fixture 2, after fixture 2's 5
    m.setMapped(2, 0, 2, true);
    engine.previewCurrentStep(m, 1, 1, lib, frame);
    EXPECT_EQ(frame[1], 5);  // both now last driven by 2: fixture order decides
}

TEST(RouteWrites, TheLastWritesLeaveTheFrameEveryWriteInOrderLeaves) {
    // Overlapping fixtures on both pages, functions repeated, Virtual Fixtures sharing fixtures.
    FixtureLibrary lib;
    for (int page = 0; page < libraryPages; ++page)
        for (int n = 1; n <= 12; ++n)
            patch(lib, page, n, n % 3, 1 + (n * 5) % 17, {20, 21, 20, 22, 21});
    Material m = test::sized(6, 4, 1);
    for (int k = 1; k <= 4; ++k)
        m.setChannelFunction(k, 19 + k);
    unsigned seed = 7;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int i = 0; i < 40; ++i)
        m.setMapped(1 + next() % 6, next() % 2, 1 + next() % 12, true);
    for (int v = 1; v <= 6; ++v)
        for (int k = 1; k <= 4; ++k)
            m.setValue(1, v, k, 1 + next() % 255);
    PageMaps maps;
    compilePageMaps(m, lib, maps);
    const CompiledRouting routing{maps, lastWritesOf(maps)};
    const ValueGrid grid = scaledStepValues(m, 1);
    for (const int dimming : {0, 1}) {
        m.setVirtualDimming(dimming);
        for (const bool direct : {true, false}) {
            DmxFrame allFrame{}, allDimming{}, lastFrame{}, lastDimming{};
            routeMaterial(direct, m, maps, grid, allFrame, allDimming);
            routeMaterial(direct, m, routing, grid, lastFrame, lastDimming);
            EXPECT_EQ(allFrame, lastFrame);
            EXPECT_EQ(allDimming, lastDimming);
        }
    }
    std::size_t writes = 0;
    for (const OutputMap& map : maps)
        writes += map.dmxChannels.size();
    EXPECT_LT(routing.lastWrites.size(), writes);
}

TEST_F(RouteTest, DemonstrationAdvancesAndShowsItsPort) {
    m.setStepCount(2);
    m.setUnifiedTime(3);
    m.setValue(2, 1, 2, 5);
    for (int i = 0; i < 4; ++i)
        engine.previewRun(m, 7, lib, false, frame);
    EXPECT_EQ(engine.runState(7).runStep, 2);
    EXPECT_EQ(frame[2], 5);
    const PortText text =
        showPortText(frame, 1, engine.runState(7), m.stepCount(), engine.runStepDuration());
    EXPECT_EQ(text.caption, "步2/2   时长2/3");
    const QStringList lines = text.text.split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 16);
    EXPECT_TRUE(lines[0].startsWith("005 000 000 "));  // frame 513 first
    EXPECT_EQ(lines[0].size(), 32 * 4);
    engine.resetRunState();
    EXPECT_EQ(engine.runState(7).runStep, 0);
}

}  // namespace
}  // namespace kx
