#include <gtest/gtest.h>

#include <set>

#include "fixtures/common_fixtures.h"
#include "link/link_fixture.h"
#include "link/live_dmx.h"
#include "link/protocol.h"
#include "materials/builtin_materials.h"
#include "materials/material_output.h"
#include "starter_fixtures.h"
#include "starter_library.h"

namespace kx {
namespace {

using namespace kx::starter;

constexpr int kMaterialRun = 8;
constexpr int kEditedNumber = 1;

// A shipped chase imported into a Material on a room patched from the shipped Common Fixtures,
// played by the demonstration run to the simulated Controller.
class StarterLoopbackTest : public test::LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        appSet = platform.dir.path() + "/AppSet";
        ASSERT_TRUE(writeStarterLibrary(appSet).failures.isEmpty());
        // The technician imports each type into its slot and gives it its address.
        for (const RoomFixture& r : demonstrationRoom()) {
            ASSERT_TRUE(importCommonFixture(room, 0, r.number, appSet + "/常用灯具",
                                            {kManufacturer, r.type})
                            .done);
            room.at(0, r.number).startAddress = static_cast<std::int16_t>(r.address);
        }
    }

    Material imported(int category, const QString& caption) {
        Material m;
        const QString path =
            builtInFolder(appSet, kStandardLibrary, category) + "/" + caption + ".K_1SC";
        EXPECT_TRUE(readBuiltInMaterial({caption, path}, m).done);
        return m;
    }

    // Plays the Material for `ticks` ticks; each tick's ports A+B as the Controller received
    // them, beside what the engine computes for the same tick.
    void play(const Material& m, int ticks) {
        link->live().defineView(
            kMaterialRun,
            {[&](DmxFrame& f) { live.previewRun(m, kEditedNumber, room, false, f); }, true, false});
        connectLink();
        link->live().setView(kMaterialRun);
        live.resetRunState();
        MaterialOutput engine;
        DmxFrame expected{};
        for (int t = 0; t < ticks; ++t) {
            const auto before = sim->frameTimesNs(cmd::kDmxPortsAB).size();
            link->outputTick();
            ASSERT_TRUE(platform.pumpUntil(
                [&] { return sim->frameTimesNs(cmd::kDmxPortsAB).size() > before; }));
            engine.beginTick(expected);
            engine.previewRun(m, kEditedNumber, room, false, expected);
            received.push_back(sim->lastFrame(cmd::kDmxPortsAB));
            computed.push_back(QByteArray(reinterpret_cast<const char*>(&expected[1]), 1024));
        }
    }

    QString appSet;
    FixtureLibrary room;
    MaterialOutput live;
    std::vector<QByteArray> received;
    std::vector<QByteArray> computed;
};

TEST_F(StarterLoopbackTest, AShippedChasePlaysTheFramesTheEngineComputes) {
    const Material chase = imported(1, "红色跑马");  // 8 Steps of 0.2 s, red dimmer and R
    ASSERT_EQ(chase.stepCount(), kPars);
    play(chase, 2 * kPars * chase.unifiedTime());
    ASSERT_EQ(received.size(), computed.size());
    for (std::size_t t = 0; t < received.size(); ++t)
        EXPECT_EQ(received[t], computed[t]) << "tick " << t + 1;

    // Tick 3 plays Step 2: par 2 alone is red at full; its green, blue and white stay dark.
    const QByteArray& frame = received.at(2);
    for (const RoomFixture& r : demonstrationRoom()) {
        if (r.number > kPars) continue;
        const int lit = r.number == 2 ? 255 : 0;
        EXPECT_EQ(static_cast<std::uint8_t>(frame[r.address - 1]), lit) << r.number;  // dimmer
        EXPECT_EQ(static_cast<std::uint8_t>(frame[r.address]), lit) << r.number;      // R
        EXPECT_EQ(frame[r.address + 1], 0);                                           // G
    }
}

TEST_F(StarterLoopbackTest, AShippedCircleMovesTheHeadsOfTheStarterRoom) {
    const Material circle = imported(3, "快速画圆");
    play(circle, circle.stepCount());
    for (std::size_t t = 0; t < received.size(); ++t)
        EXPECT_EQ(received[t], computed[t]) << "tick " << t + 1;
    // The wash heads' pan follows the circle and their dimmer is open.
    const RoomFixture wash = demonstrationRoom().at(kFirstWash - 1);
    std::set<int> pans;
    for (const QByteArray& f : received)
        pans.insert(static_cast<std::uint8_t>(f[wash.address - 1]));
    EXPECT_GE(pans.size(), 6u);  // cos of 30, 60 .. 180 degrees
    EXPECT_GE(*pans.begin(), 127 - 60);
    EXPECT_LE(*pans.rbegin(), 127 + 60);
    EXPECT_EQ(static_cast<std::uint8_t>(received.back()[wash.address - 1 + 5]), 255);
}

}  // namespace
}  // namespace kx
