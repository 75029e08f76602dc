#pragma once

#include <vector>

#include "base/dmx_frame.h"
#include "materials/material.h"
#include "materials/material_output.h"

namespace kx {

// The circle of the Motion Generator (XY动作辅助生成): Material channel 1 is X, channel 2 is Y.
// Parameters: global entry 1 "动作速度" (degrees per tick or per generated Step); per Virtual
// Fixture 1 "中心点X", 2 "百分比X", 3 "锁定X", 4 "中心点Y", 5 "百分比Y", 6 "锁定Y", 7 "半径",
// 8 "角度", 9 "方向".
inline constexpr int kMotionSpeed = 1;  // the global entry
inline constexpr int kCentreX = 1;
inline constexpr int kScaleX = 2;
inline constexpr int kLockX = 3;
inline constexpr int kCentreY = 4;
inline constexpr int kScaleY = 5;
inline constexpr int kLockY = 6;
inline constexpr int kRadius = 7;
inline constexpr int kAngleOffset = 8;
inline constexpr int kDirection = 9;
inline constexpr int kDefaultMotionSpeed = 10;

struct CirclePoint {
    int x = 0;
    int y = 0;
    bool operator==(const CirclePoint&) const = default;
};

// X and Y of Virtual Fixture v at the given angle in degrees.
CirclePoint circlePoint(const Material& m, int fixture, int angle);
// The value grid of all Virtual Fixtures at the angle: channel 1 X, channel 2 Y, others 0.
ValueGrid circleGrid(const Material& m, int angle);
// One tick of the live circle: the angle turns by the speed, and the grid goes through the maps.
void liveCircle(const Material& m, const PageMaps& maps, int& circleAngle, DmxFrame& frame);
// "生成动作": one revolution written as Steps 1..n (only when motionMode is set), then every Step
// fades into the next at a unified time of 1 tenth. False when motionMode is 0.
bool generateCircleSteps(Material& m);

// Parameter ranges and defaults of the entries in use; the others have no range and are refused.
struct ParameterRange {
    int low;
    int high;
    int fallback;
};
ParameterRange globalParameterRange(int entry);
ParameterRange fixtureParameterRange(int entry);
// Before the panel shows them: the global entries and those of the shown Virtual Fixture that lie
// outside their range take their defaults.
void applyMotionDefaults(Material& m, int shownFixture);
// The panel's entries; a value outside the range is refused (false). A per-fixture value goes to
// the shown Virtual Fixture and then to every selected one: all 20 entries of the shown one when
// linkAll ("所有通道联动"), otherwise just this entry.
bool setGlobalParameter(Material& m, int entry, int value);
bool setFixtureParameter(Material& m, int shownFixture, int entry, int value,
                         const std::vector<int>& selected, bool linkAll);

}  // namespace kx
