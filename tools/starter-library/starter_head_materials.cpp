#include "starter_fixtures.h"
#include "starter_materials.h"

namespace kx::starter {

namespace {

constexpr int kDanceMotion = 3;
constexpr int kSongMotion = 6;
constexpr int kWheelAndGobo = 7;
constexpr int kCustom = 8;

// Circles drive X and Y; the heads shine open white meanwhile (wash heads through their dimmer
// and white, spot heads through their dimmer and an open shutter).
const std::initializer_list<int> kHeadChannels = {
    fn::X, fn::Y, fn::ColourDimmer, fn::W, fn::PatternDimmer, fn::Shutter};
constexpr Levels kHeadsLit = {
    {fn::ColourDimmer, 255}, {fn::W, 255}, {fn::PatternDimmer, 255}, {fn::Shutter, 255}};

const QString kForHeads = QStringLiteral(
    "适用灯具：染色摇头灯、图案摇头灯（通道1为X、通道2为Y画圆，调光全开、光闸常开）。\r\n"
    "示范配接：虚拟灯具1-4 对应灯库页1的灯具9-12（染色摇头灯）和13-16（图案摇头灯）。");
const QString kForSpots = QStringLiteral(
    "适用灯具：图案摇头灯（色盘、固定图案盘、旋转1，X、Y居中）。\r\n"
    "示范配接：虚拟灯具1-4 对应灯库页1的灯具13-16。");

Material heads(const QString& remark) {
    return blankMaterial(remark, kHeads, kHeadChannels, 1, {kFirstWash, kFirstSpot});
}

Material spots(const QString& remark, int unifiedTime, std::initializer_list<int> channels) {
    return blankMaterial(remark, kHeads, channels, unifiedTime, {kFirstSpot});
}

QString describe(const QString& what, const QString& fixtures) {
    return what + QStringLiteral("\r\n") + fixtures;
}

void addMotion(std::vector<StarterMaterial>& out) {
    out.push_back({kDanceMotion, "快速画圆",
                   describe("四台摇头灯同步快速画圆，半径60，每步转30度，约1.3秒一圈。", kForHeads),
                   circleMaterial(heads("快速画圆"), 30, {{60}}, kHeadsLit)});
    out.push_back({kDanceMotion, "交错画圆",
                   describe("四台摇头灯画圆，起始角度依次相差90度，光束此起彼伏。", kForHeads),
                   circleMaterial(heads("交错画圆"), 20, {{50, 0}, {50, 90}, {50, 180}, {50, 270}},
                                  kHeadsLit)});
    out.push_back({kDanceMotion, "反向对转",
                   describe("单数灯顺时针、双数灯逆时针同时画圆，每步转20度。", kForHeads),
                   circleMaterial(heads("反向对转"), 20, {{50, 0, 0}, {50, 0, 1}}, kHeadsLit)});
    out.push_back({kDanceMotion, "水平快扫",
                   describe("Y锁定在中心，X左右快速来回扫动，幅度80。", kForHeads),
                   circleMaterial(heads("水平快扫"), 24, {{80, 0, 0, 100, 100, 1}}, kHeadsLit)});

    out.push_back({kSongMotion, "慢速画圆",
                   describe("四台摇头灯同步缓慢画圆，半径40，每步转4度，约9秒一圈。", kForHeads),
                   circleMaterial(heads("慢速画圆"), 4, {{40}}, kHeadsLit)});
    out.push_back({kSongMotion, "椭圆慢摇",
                   describe("横向宽、纵向窄的椭圆（Y百分比30）缓慢摇动，约7秒一圈。", kForHeads),
                   circleMaterial(heads("椭圆慢摇"), 5, {{60, 0, 0, 100, 30, 0}}, kHeadsLit)});
    out.push_back({kSongMotion, "交错慢圆",
                   describe("单双数灯相差180度缓慢画圆，光束相向而行。", kForHeads),
                   circleMaterial(heads("交错慢圆"), 5, {{40, 0}, {40, 180}}, kHeadsLit)});
}

// Spot heads centred, dimmer full and shutter open.
constexpr Levels kCentred = {
    {fn::X, 128}, {fn::Y, 128}, {fn::PatternDimmer, 255}, {fn::Shutter, 255}};

void addWheelAndGobo(std::vector<StarterMaterial>& out) {
    Material wheel =
        spots("色盘轮换", 20, {fn::X, fn::Y, fn::PatternDimmer, fn::Shutter, fn::ColourWheel});
    for (int position = 0; position <= 100; position += 20) {
        const int s = appendStep(wheel, kCentred);
        for (int v = 1; v <= kHeads; ++v)
            setLevels(wheel, s, v, {{fn::ColourWheel, position}});
    }
    out.push_back({kWheelAndGobo, "色盘轮换",
                   describe("色盘每2秒换一格（色盘值0、20 … 100），光束居中。", kForSpots), wheel});

    Material gobo = spots("图案轮换", 20, {fn::X, fn::Y, fn::PatternDimmer, fn::Shutter, fn::Gobo});
    for (int position = 0; position <= 96; position += 16) {
        const int s = appendStep(gobo, kCentred);
        for (int v = 1; v <= kHeads; ++v)
            setLevels(gobo, s, v, {{fn::Gobo, position}});
    }
    out.push_back({kWheelAndGobo, "图案轮换",
                   describe("固定图案盘每2秒换一个图案（图案值0、16 … 96）。", kForSpots), gobo});

    Material combined = spots("色盘图案组合", 30,
                              {fn::X, fn::Y, fn::PatternDimmer, fn::Shutter, fn::ColourWheel,
                               fn::Gobo, fn::GoboRotation});
    for (int i = 0; i < 4; ++i) {
        const int s = appendStep(combined, kCentred);
        for (int v = 1; v <= kHeads; ++v)
            setLevels(combined, s, v,
                      {{fn::ColourWheel, 20 * (i + v) % 120},
                       {fn::Gobo, 16 * (i + 1)},
                       {fn::GoboRotation, 128}});
    }
    out.push_back({kWheelAndGobo, "色盘图案组合",
                   describe("四台灯各取不同颜色，图案旋转，每3秒换一组颜色和图案。", kForSpots),
                   combined});

    Material goboCircle =
        spots("图案画圆", 1, {fn::X, fn::Y, fn::PatternDimmer, fn::Shutter, fn::Gobo});
    out.push_back({kWheelAndGobo, "图案画圆",
                   describe("图案摇头灯投出图案（图案值32）并缓慢画圆，半径50。", kForSpots),
                   circleMaterial(goboCircle, 8, {{50}},
                                  {{fn::PatternDimmer, 255}, {fn::Shutter, 255}, {fn::Gobo, 32}})});
}

// A device's description: what it does, the fixture it expects and where the room has it.
QString describeDevice(const QString& what, const QString& fixture, int number) {
    return what + QStringLiteral("\r\n适用灯具：") + fixture +
           QStringLiteral("。\r\n示范配接：虚拟灯具1 对应灯库页1的灯具%1。").arg(number);
}

// A device on for onTime and off for offTime (tenths), again and again.
Material burst(const QString& remark, std::initializer_list<int> functions, int number, Levels on,
               int onTime, int offTime) {
    Material m = blankMaterial(remark, 1, functions, 10, {number});
    m.setPerStepTime(1);
    appendStep(m, on, onTime);
    appendStep(m, {}, offTime);
    return m;
}

void addDevices(std::vector<StarterMaterial>& out) {
    Material laser = blankMaterial(
        "激光秀", 1,
        {fn::LaserDimmer, fn::LaserLibrary, fn::LaserPattern, fn::LaserRotation, fn::LaserZoom}, 20,
        {kLaserNumber});
    for (int i = 0; i < 6; ++i)
        appendStep(laser, {{fn::LaserDimmer, 255},
                           {fn::LaserLibrary, i < 3 ? 0 : 64},
                           {fn::LaserPattern, 40 * i},
                           {fn::LaserRotation, i % 2 == 0 ? 0 : 160},
                           {fn::LaserZoom, 128}});
    out.push_back({kCustom, "激光秀",
                   describeDevice("激光灯每2秒换一个图案，单数步静止、双数步旋转。",
                                  "激光灯（激光调光、图库、图案、旋转、缩放）", kLaserNumber),
                   laser});
    out.push_back({kCustom, "频闪灯爆闪",
                   describeDevice("频闪灯高速频闪3秒，停1秒，反复。", "频闪灯（调光1、频闪1）",
                                  kStrobeNumber),
                   burst("频闪灯爆闪", {fn::StrobeDimmer, fn::StrobeRate}, kStrobeNumber,
                         {{fn::StrobeDimmer, 255}, {fn::StrobeRate, 230}}, 30, 10)});
    out.push_back({kCustom, "烟机喷雾",
                   describeDevice("烟机喷雾3秒，停15秒，反复；单独使用，不要与其他雾化素材叠加。",
                                  "烟机（雾化）", kSmokeNumber),
                   burst("烟机喷雾", {fn::Smoke}, kSmokeNumber, {{fn::Smoke, 255}}, 30, 150)});

    Material relay = blankMaterial("继电器开", 1, {fn::Relay}, 10, {kRelayNumber});
    appendStep(relay, {{fn::Relay, 255}});
    out.push_back({kCustom, "继电器开",
                   describeDevice("继电器通道输出255，接通受控的电源（如灯带、装饰灯）。",
                                  "继电器（通道功能 自定义1，代码90）", kRelayNumber),
                   relay});
}

}  // namespace

void addHeadAndDeviceMaterials(std::vector<StarterMaterial>& out) {
    addMotion(out);
    addWheelAndGobo(out);
    addDevices(out);
}

std::vector<StarterMaterial> starterMaterials() {
    std::vector<StarterMaterial> out;
    addParMaterials(out);
    addHeadAndDeviceMaterials(out);
    return out;
}

}  // namespace kx::starter
