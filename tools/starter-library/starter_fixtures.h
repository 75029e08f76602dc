#pragma once

#include <QString>
#include <vector>

#include "fixtures/fixture_library.h"

namespace kx::starter {

// Channel Function codes the starter library uses.
namespace fn {
constexpr int X = 1;
constexpr int Y = 2;
constexpr int XFine = 3;
constexpr int YFine = 4;
constexpr int Speed = 5;
constexpr int ColourDimmer = 10;   // 染色调光
constexpr int PatternDimmer = 11;  // 图案调光
constexpr int ColourStrobe = 12;   // 染色频闪
constexpr int Shutter = 13;        // 图案频闪
constexpr int LaserDimmer = 15;    // 激光调光
constexpr int R = 20;
constexpr int G = 21;
constexpr int B = 22;
constexpr int W = 23;
constexpr int ColourWheel = 30;    // 色盘
constexpr int Gobo = 31;           // 固定图案盘
constexpr int RotatingGobo = 32;   // 旋转图案盘
constexpr int Smoke = 33;          // 雾化
constexpr int Focus = 34;          // 聚焦
constexpr int GoboRotation = 35;   // 旋转1
constexpr int Prism = 37;          // 棱镜
constexpr int LaserLibrary = 41;   // 图库
constexpr int LaserPattern = 42;   // 图案
constexpr int LaserRotation = 43;  // 旋转
constexpr int LaserZoom = 44;      // 缩放
constexpr int LaserMoveX = 47;     // 水平移动
constexpr int LaserMoveY = 48;     // 垂直移动
constexpr int LaserDraw = 49;      // 渐绘
constexpr int StrobeDimmer = 50;   // 调光1
constexpr int StrobeRate = 51;     // 频闪1
// A relay has no function of its own: the first custom one (自定义1), so that no lighting
// Material ever switches mains by accident.
constexpr int Relay = 90;
}  // namespace fn

// The Common Fixtures folder the starter types are shipped in.
inline const QString kManufacturer = QStringLiteral("通用");

// The Common Fixtures, each shipped as <name>.K_1DK. A type carries no patch (address 0): the
// technician gives the address after importing it.
std::vector<Fixture> fixtureTypes();
// The type of that name; an empty Fixture for an unknown name.
Fixture fixtureType(const QString& name);

// Type names of the starter library.
inline const QString kRgbPar = QStringLiteral("RGB帕灯");
inline const QString kRgbwPar = QStringLiteral("RGBW帕灯");
inline const QString kDimmerPar = QStringLiteral("RGBW帕灯-调光频闪");
inline const QString kWashHead = QStringLiteral("染色摇头灯");
inline const QString kSpotHead = QStringLiteral("图案摇头灯");
inline const QString kLaser = QStringLiteral("激光灯");
inline const QString kStrobe = QStringLiteral("频闪灯");
inline const QString kSmoke = QStringLiteral("烟机");
inline const QString kRelay = QStringLiteral("继电器");

// The demonstration room the shipped Materials are mapped onto, on Library Page 1 (page 0):
// eight pars, four wash and four spot moving heads, a laser, a strobe, a smoke machine and a
// relay, all on port A one after the other.
struct RoomFixture {
    int number;  // fixture number on page 0
    QString type;
    int address;  // port A
};
inline constexpr int kFirstPar = 1;
inline constexpr int kPars = 8;
inline constexpr int kFirstWash = 9;
inline constexpr int kFirstSpot = 13;
inline constexpr int kHeads = 4;
inline constexpr int kLaserNumber = 17;
inline constexpr int kStrobeNumber = 18;
inline constexpr int kSmokeNumber = 19;
inline constexpr int kRelayNumber = 20;

std::vector<RoomFixture> demonstrationRoom();
// The room patched with the starter types.
FixtureLibrary demonstrationLibrary();

}  // namespace kx::starter
