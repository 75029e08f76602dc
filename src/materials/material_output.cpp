#include "materials/material_output.h"

#include <algorithm>
#include <bitset>

#include "base/common.h"
#include "materials/motion_generator.h"

namespace kx {

namespace {

// n / d rounded to the nearest integer, halves to even (n >= 0, d > 0).
int divideHalfEven(int n, int d) {
    const int q = n / d;
    const int r2 = 2 * (n % d);
    return (r2 > d || (r2 == d && (q & 1))) ? q + 1 : q;
}

void put(DmxFrame& frame, int index, int value) {
    if (index > 0 && index < kDmxFrameSize) frame[index] = static_cast<std::uint8_t>(value);
}

std::uint8_t get(const DmxFrame& frame, int index) {
    return index > 0 && index < kDmxFrameSize ? frame[index] : 0;
}

}  // namespace

bool ValueGrid::operator==(const ValueGrid& o) const {
    if (fixtures != o.fixtures || channels != o.channels) return false;
    const int n = fixtures * channels;
    return std::equal(cells.begin(), cells.begin() + n, o.cells.begin());
}

ValueGrid scaledStepValues(const Material& m, int step) {
    ValueGrid grid;
    if (m.stepCount() == 0) return grid;
    grid.fixtures = m.fixtureCount();
    grid.channels = m.channelCount();
    const int b = m.brightness();
    const auto row = m.stepValues(step);
    for (std::size_t i = 0; i < row.size(); ++i)
        grid.cells[i] = static_cast<std::uint8_t>(divideHalfEven(b * row[i], 100));
    return grid;
}

int nextRunStep(const Material& m, int step) {
    return step + 1 > m.stepCount() ? 1 : step + 1;
}

ValueGrid fadeValues(const ValueGrid& current, const ValueGrid& next, int tick, int duration) {
    ValueGrid grid = current;
    if (next.fixtures != current.fixtures || next.channels != current.channels) return grid;
    const int n = current.fixtures * current.channels;
    for (int i = 0; i < n; ++i)
        grid.cells[i] = static_cast<std::uint8_t>(
            duration <= 0 ? next.cells[i]
                          : Fun_StepValue(current.cells[i], next.cells[i], tick, duration));
    return grid;
}

ValueGrid advanceMaterial(const Material& m, MaterialRunState& run, bool jumpActive,
                          int& runStepDuration) {
    if (run.runStep == 0) run.runStep = 1;
    if (run.runTick == 0) run.runTick = 1;
    const int d = m.perStepTime() == 1 ? m.stepTime(run.runStep) : m.unifiedTime();
    runStepDuration = d;
    ValueGrid grid = scaledStepValues(m, run.runStep);
    if (m.stepInfo(run.runStep).fadeToNext == 1 || m.allStepsFade() == 1)
        grid = fadeValues(grid, scaledStepValues(m, nextRunStep(m, run.runStep)), run.runTick, d);
    run.runTick += 1;

    const int jump = m.jumpSize();
    if (jump != 0 && jumpActive) {
        if (m.jumpAtRangeEnd() == 1) {
            if (run.runTick >= d) run.runTick = d + 1;
        } else {
            for (int i = 0; i < 1000 && run.runStep % jump != 0; ++i)
                ++run.runStep;
            run.runTick = d + 1;
        }
    }
    if (run.runTick > d) {
        run.runTick = 1;
        if (jump != 0 && run.runStep % jump == 0) {
            // The end of a jump range: hold its last Step until a request arrives.
            run.runTick = d;
            if (!jumpActive) return grid;
            run.runTick = 1;
        }
        run.runStep += 1;
        if (run.runStep > m.stepCount()) run.runStep = 1;
    }
    return grid;
}

void routeMaterial(bool direct, const Material& m, const PageMaps& maps, const ValueGrid& grid,
                   DmxFrame& frame, DmxFrame& dimming) {
    if (m.virtualDimming() == 2) {
        for (int v = 1; v <= grid.fixtures; ++v) {
            const int master = grid.channels >= 1 ? grid.at(v, 1) : 0;
            for (int k = 2; k <= grid.channels; ++k)
                for (const OutputMap& map : maps)
                    for (const std::uint16_t a : map.channelsOf(v, k))
                        put(frame, a,
                            divideHalfEven(get(direct ? frame : dimming, a) * master, 255));
        }
        return;
    }
    DmxFrame& target = m.virtualDimming() == 1 && !direct ? dimming : frame;
    for (int v = 1; v <= grid.fixtures; ++v)
        for (int k = 1; k <= grid.channels; ++k)
            for (const OutputMap& map : maps)
                for (const std::uint16_t a : map.channelsOf(v, k))
                    put(target, a, grid.at(v, k));
}

void routeMaterial(bool direct, const Material& m, const CompiledRouting& routing,
                   const ValueGrid& grid, DmxFrame& frame, DmxFrame& dimming) {
    const OutputMap& map = routing.maps[0];
    if (m.virtualDimming() == 2 || grid.fixtures != map.fixtureCount ||
        grid.channels != map.channelCount) {
        routeMaterial(direct, m, routing.maps, grid, frame, dimming);
        return;
    }
    DmxFrame& target = m.virtualDimming() == 1 && !direct ? dimming : frame;
    for (const RouteWrite& w : routing.lastWrites)
        target[w.channel] = grid.cells[w.cell];
}

void applyTemporaryChannels(const Material& m, const PageMaps& maps, const FixtureLibrary& lib,
                            DmxFrame& frame) {
    if (m.usedTempChannels() == 0) return;
    std::bitset<kChannelFunctionCount> temporary;
    for (int e = 1; e <= kTempChannelEntries; ++e)
        if (m.tempChannel(e) != 0) temporary.set(m.tempChannel(e));
    for (int p = 0; p < libraryPages; ++p) {
        const OutputMap& map = maps[p];
        // A fixture's adjust values are the same whichever Virtual Fixture drives it: each is
        // written once, where the last Virtual Fixture driving it would have written it.
        std::array<int, kFixturesPerPage + 1> lastDriver{};
        for (int v = 1; v <= map.fixtureCount; ++v)
            for (const std::uint8_t f : map.fixturesOf(v))
                lastDriver[f] = v;
        for (int v = 1; v <= map.fixtureCount; ++v) {
            for (const std::uint8_t f : map.fixturesOf(v)) {
                if (lastDriver[f] != v) continue;
                const Fixture& fx = lib.at(p, f);
                const int n = std::min<int>(fx.channelCount, kMaxFixtureChannels);
                for (int i = 1; i <= n; ++i)
                    if (fx.functions[i - 1] != 0 && temporary.test(fx.functions[i - 1]))
                        put(frame, frameIndex(fx, i), fx.adjustValues[i - 1]);
            }
        }
    }
}

PortText showPortText(const DmxFrame& frame, int port, const MaterialRunState& run, int stepCount,
                      int runStepDuration) {
    PortText out;
    const int base = std::clamp(port, 0, 3) * kChannelsPerPort;
    for (int line = 0; line < 16; ++line) {
        for (int i = 1; i <= 32; ++i)
            out.text += QString::number(frame[base + line * 32 + i]).rightJustified(3, '0') + ' ';
        out.text += QStringLiteral("\r\n");
    }
    out.caption = QStringLiteral("步%1/%2   时长%3/%4")
                      .arg(run.runStep)
                      .arg(stepCount)
                      .arg(run.runTick)
                      .arg(runStepDuration);
    return out;
}

void MaterialOutput::beginTick(DmxFrame& frame) {
    frame.fill(0);
    m_dimming.fill(0);
}

void MaterialOutput::resetRunState() {
    m_runStates.fill({});
}

ValueGrid MaterialOutput::advance(const Material& m, int number, bool jumpActive) {
    return advanceMaterial(m, m_runStates.at(number), jumpActive, m_runStepDuration);
}

void MaterialOutput::route(bool direct, const Material& m, int number, const FixtureLibrary& lib,
                           const ValueGrid& grid, DmxFrame& frame) {
    routeMaterial(direct, m, m_maps.routing(number, m, lib), grid, frame, m_dimming);
}

void MaterialOutput::routeAndTemporary(const Material& m, int number, const FixtureLibrary& lib,
                                       const ValueGrid& grid, DmxFrame& frame) {
    const CompiledRouting& routing = m_maps.routing(number, m, lib);
    if (m.virtualDimming() == 2) {
        // Channel 1 dims the Temporary Channels too.
        applyTemporaryChannels(m, routing.maps, lib, frame);
        routeMaterial(true, m, routing, grid, frame, m_dimming);
    } else {
        routeMaterial(true, m, routing, grid, frame, m_dimming);
        applyTemporaryChannels(m, routing.maps, lib, frame);
    }
}

void MaterialOutput::previewCurrentStep(const Material& m, int number, int step,
                                        const FixtureLibrary& lib, DmxFrame& frame) {
    if (m.motionMode() == 1) {
        const PageMaps& maps = m_maps.routing(number, m, lib).maps;
        liveCircle(m, maps, m_circleAngle, frame);
        applyTemporaryChannels(m, maps, lib, frame);
        return;
    }
    routeAndTemporary(m, number, lib, scaledStepValues(m, step), frame);
}

void MaterialOutput::previewRun(const Material& m, int number, const FixtureLibrary& lib,
                                bool jumpActive, DmxFrame& frame) {
    routeAndTemporary(m, number, lib, advance(m, number, jumpActive), frame);
}

}  // namespace kx
