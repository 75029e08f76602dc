#include "materials/motion_generator.h"

#include <algorithm>
#include <cmath>

namespace kx {

namespace {

// Nearest integer, halves to even.
int roundHalfEven(double x) {
    const double f = std::floor(x);
    const double frac = x - f;
    const int i = static_cast<int>(f);
    if (frac > 0.5) return i + 1;
    if (frac < 0.5) return i;
    return (i % 2 == 0) ? i : i + 1;
}

int clampedByte(double x) {
    return roundHalfEven(std::clamp(x, 0.0, 255.0));
}

constexpr ParameterRange kNoRange{1, 0, 0};

bool inside(const ParameterRange& r, int v) {
    return v >= r.low && v <= r.high;
}

}  // namespace

CirclePoint circlePoint(const Material& m, int fixture, int angle) {
    auto p = [&](int entry) { return m.motionPerFixture(fixture, entry); };
    int a = p(kAngleOffset) + angle;
    if (p(kDirection) == 1) a = 360 - a;
    if (a < 0) a += 360;
    if (a > 360) a -= 360;
    const double r = a * 3.14 / 180;
    const int sx = p(kScaleX) == 0 ? 100 : p(kScaleX);
    const int sy = p(kScaleY) == 0 ? 100 : p(kScaleY);
    CirclePoint point;
    point.x = clampedByte(p(kRadius) * std::cos(r) * sx / 100 + p(kCentreX));
    point.y = clampedByte(p(kRadius) * std::sin(r) * sy / 100 + p(kCentreY));
    if (p(kLockX) == 1) point.x = std::clamp(p(kCentreX), 0, 255);
    if (p(kLockY) == 1) point.y = std::clamp(p(kCentreY), 0, 255);
    return point;
}

ValueGrid circleGrid(const Material& m, int angle) {
    ValueGrid grid;
    grid.fixtures = m.fixtureCount();
    grid.channels = m.channelCount();
    for (int v = 1; v <= grid.fixtures; ++v) {
        const CirclePoint point = circlePoint(m, v, angle);
        if (grid.channels >= 1) grid.at(v, 1) = static_cast<std::uint8_t>(point.x);
        if (grid.channels >= 2) grid.at(v, 2) = static_cast<std::uint8_t>(point.y);
    }
    return grid;
}

void liveCircle(const Material& m, const PageMaps& maps, int& circleAngle, DmxFrame& frame) {
    circleAngle += m.motionGlobal(kMotionSpeed);
    if (circleAngle > 360) circleAngle %= 360;
    const ValueGrid grid = circleGrid(m, circleAngle);
    for (int v = 1; v <= grid.fixtures; ++v)
        for (int k = 1; k <= grid.channels; ++k)
            for (const OutputMap& map : maps)
                for (const std::uint16_t a : map.channelsOf(v, k))
                    if (a > 0 && a < kDmxFrameSize) frame[a] = grid.at(v, k);
}

bool generateCircleSteps(Material& m) {
    if (m.motionMode() == 0) return false;
    // A speed the panel would not show (0 from a file) would never finish the turn.
    int speed = m.motionGlobal(kMotionSpeed);
    if (!inside(globalParameterRange(kMotionSpeed), speed)) speed = kDefaultMotionSpeed;
    int a = 0;
    int n = 0;
    while (a <= 360) {
        a += speed;
        ++n;
        if (n > m.stepCount()) m.setStepCount(n);
        const ValueGrid grid = circleGrid(m, a);
        const int cells = grid.fixtures * grid.channels;
        if (std::all_of(grid.cells.begin(), grid.cells.begin() + cells,
                        [](auto v) { return v == 0; })) {
            m.clearStepValues(n);
        } else {
            std::copy_n(grid.cells.begin(), cells, m.stepValues(n).begin());
        }
    }
    m.setStepCount(n);
    m.setAllStepsFade(1);
    m.setPerStepTime(0);
    m.setUnifiedTime(1);
    return true;
}

ParameterRange globalParameterRange(int entry) {
    return entry == kMotionSpeed ? ParameterRange{1, 255, kDefaultMotionSpeed} : kNoRange;
}

ParameterRange fixtureParameterRange(int entry) {
    switch (entry) {
        case kCentreX:
        case kCentreY:
            return {0, 255, 127};
        case kScaleX:
        case kScaleY:
            return {1, 255, 100};
        case kLockX:
        case kLockY:
        case kDirection:
            return {0, 1, 0};
        case kRadius:
            return {1, 255, 10};
        case kAngleOffset:
            return {0, 360, 0};
        default:
            return kNoRange;
    }
}

void applyMotionDefaults(Material& m, int shownFixture) {
    const ParameterRange g = globalParameterRange(kMotionSpeed);
    if (!inside(g, m.motionGlobal(kMotionSpeed))) m.setMotionGlobal(kMotionSpeed, g.fallback);
    if (shownFixture < 1 || shownFixture > kMaxVirtualFixtures) return;
    for (int e = kCentreX; e <= kDirection; ++e) {
        const ParameterRange r = fixtureParameterRange(e);
        if (!inside(r, m.motionPerFixture(shownFixture, e)))
            m.setMotionPerFixture(shownFixture, e, r.fallback);
    }
}

bool setGlobalParameter(Material& m, int entry, int value) {
    if (!inside(globalParameterRange(entry), value)) return false;
    return m.setMotionGlobal(entry, value);
}

bool setFixtureParameter(Material& m, int shownFixture, int entry, int value,
                         const std::vector<int>& selected, bool linkAll) {
    if (!inside(fixtureParameterRange(entry), value) ||
        !m.setMotionPerFixture(shownFixture, entry, value))
        return false;
    for (const int v : selected) {
        if (v == shownFixture) continue;
        if (linkAll) {
            for (int e = 1; e <= kMotionParameters; ++e)
                m.setMotionPerFixture(v, e, m.motionPerFixture(shownFixture, e));
        } else {
            m.setMotionPerFixture(v, entry, value);
        }
    }
    return true;
}

}  // namespace kx
