#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "base/dmx_frame.h"
#include "fixtures/fixture_library.h"
#include "materials/material.h"
#include "materials/output_map.h"
#include "materials/output_map_cache.h"

namespace kx {

// The values that leave one Material in one tick, before routing: a byte per (Virtual Fixture,
// channel) within the grid's counts. An empty grid (no fixtures or channels) routes nothing.
struct ValueGrid {
    int fixtures = 0;
    int channels = 0;
    std::array<std::uint8_t, kMaxVirtualFixtures * kMaxMaterialChannels> cells{};

    std::uint8_t at(int fixture, int channel) const {
        return cells[(fixture - 1) * channels + channel - 1];
    }
    std::uint8_t& at(int fixture, int channel) {
        return cells[(fixture - 1) * channels + channel - 1];
    }
    bool operator==(const ValueGrid& o) const;
};

// Where one Material stands in its run: the Step being played and the ticks spent in it (0: not
// started). Kept apart from the Material so any caller can run any Material.
struct MaterialRunState {
    int runStep = 0;
    int runTick = 0;
};

// The one-tick jump request: set to Requested by a button or a drum beat; the output tick turns it
// Active for exactly one tick and then back to None.
struct JumpRequest {
    std::uint8_t state = 0;  // 0 none, 1 requested, 2 active

    void request() { state = 1; }
    void beginTick() {
        if (state == 1) state = 2;
    }
    void endTick() {
        if (state == 2) state = 0;
    }
    bool active() const { return state == 2; }
};

// Every value of the Step times the brightness percentage, rounded half to even. Empty for a
// Material without Steps; zeros for a Step it does not hold.
ValueGrid scaledStepValues(const Material& m, int step);
// step + 1, or 1 after the last Step.
int nextRunStep(const Material& m, int step);
// Each cell faded from current towards next: Fun_StepValue(a, z, tick, duration); a duration of
// 0 or below gives the target.
ValueGrid fadeValues(const ValueGrid& current, const ValueGrid& next, int tick, int duration);
// One tick of play. runStepDuration receives the played Step's duration in ticks.
ValueGrid advanceMaterial(const Material& m, MaterialRunState& run, bool jumpActive,
                          int& runStepDuration);

// Writes a grid through the maps. direct: the Material editor's previews; not direct: the Effect
// output, where virtualDimming 1 goes into the master-dimming buffer and virtualDimming 2 scales
// that buffer by channel 1 into the frame.
void routeMaterial(bool direct, const Material& m, const PageMaps& maps, const ValueGrid& grid,
                   DmxFrame& frame, DmxFrame& dimming);
// The same for a Material whose virtualDimming is not 2 and a grid of the routing's counts, through
// the routing's last writes.
void routeMaterial(bool direct, const Material& m, const CompiledRouting& routing,
                   const ValueGrid& grid, DmxFrame& frame, DmxFrame& dimming);
// The Fixture Library's adjust values of the Material's Temporary Channels on the fixtures its
// maps drive. Where fixtures overlap, the one a later Virtual Fixture drives wins.
void applyTemporaryChannels(const Material& m, const PageMaps& maps, const FixtureLibrary& lib,
                            DmxFrame& frame);

// The demonstration's text view of port 0-3 and its caption.
struct PortText {
    QString text;
    QString caption;
};
PortText showPortText(const DmxFrame& frame, int port, const MaterialRunState& run, int stepCount,
                      int runStepDuration);

// The Material output engine: the run state of every Material of the bank in memory, the values
// all Materials share (the last played Step's duration, the live circle's angle), the
// master-dimming buffer, and the Output Maps of every Material, compiled once until its routing
// or the library changes. One instance serves the Material editor's previews and the Effect
// output alike.
class MaterialOutput {
  public:
    // Clears the frame and the master-dimming buffer: the start of every output tick.
    void beginTick(DmxFrame& frame);
    // All run positions back to "not started".
    void resetRunState();

    // One tick of Material n (1-240) of the bank.
    ValueGrid advance(const Material& m, int number, bool jumpActive);
    // Writes a grid of Material n through its maps.
    void route(bool direct, const Material& m, int number, const FixtureLibrary& lib,
               const ValueGrid& grid, DmxFrame& frame);

    // Live output mode 7: the current Step (or the live circle) of the edited Material n.
    void previewCurrentStep(const Material& m, int number, int step, const FixtureLibrary& lib,
                            DmxFrame& frame);
    // Live output mode 8: the edited Material (number 1-240) played tick by tick.
    void previewRun(const Material& m, int number, const FixtureLibrary& lib, bool jumpActive,
                    DmxFrame& frame);

    MaterialRunState& runState(int number) { return m_runStates.at(number); }
    const MaterialRunState& runState(int number) const { return m_runStates.at(number); }
    int runStepDuration() const { return m_runStepDuration; }
    int circleAngle() const { return m_circleAngle; }
    const DmxFrame& dimmingBuffer() const { return m_dimming; }
    OutputMapCache& maps() { return m_maps; }

  private:
    void routeAndTemporary(const Material& m, int number, const FixtureLibrary& lib,
                           const ValueGrid& grid, DmxFrame& frame);

    std::array<MaterialRunState, kMaterialsPerBank + 1> m_runStates{};
    int m_runStepDuration = 0;
    int m_circleAngle = 0;
    DmxFrame m_dimming{};
    OutputMapCache m_maps;
};

}  // namespace kx
