#include "starter_fixtures.h"
#include "starter_materials.h"

namespace kx::starter {

namespace {

constexpr int kDanceRgb = 1;
constexpr int kDanceWhite = 2;
constexpr int kSongRgb = 4;
constexpr int kSongWhite = 5;

// Every par Material drives these channels; a par without one of them simply lacks it.
const std::initializer_list<int> kParChannels = {fn::ColourDimmer, fn::R, fn::G, fn::B, fn::W};

const QString kForPars = QStringLiteral(
    "适用灯具：RGB帕灯、RGBW帕灯、RGBW帕灯-调光频闪，也可配接染色摇头灯（按通道功能 "
    "染色调光、R、G、B、W 输出，灯具缺少的通道不输出）。\r\n"
    "示范配接：虚拟灯具1-8 对应灯库页1的灯具1-8。导入后可在“灯具设置”中改配自己的灯具。");

struct Colour {
    int r = 0;
    int g = 0;
    int b = 0;
    int w = 0;
};

constexpr Colour kRed{255, 0, 0, 0};
constexpr Colour kOrange{255, 80, 0, 0};
constexpr Colour kAmber{255, 160, 0, 0};
constexpr Colour kYellow{255, 255, 0, 0};
constexpr Colour kGreen{0, 255, 0, 0};
constexpr Colour kCyan{0, 255, 255, 0};
constexpr Colour kTeal{0, 160, 120, 0};
constexpr Colour kBlue{0, 0, 255, 0};
constexpr Colour kPurple{120, 0, 255, 0};
constexpr Colour kMagenta{255, 0, 255, 0};
constexpr Colour kWarmWhite{255, 160, 60, 255};
constexpr Colour kWhite{255, 255, 255, 255};

// The colour at a percentage of its level, so that pars without a dimmer channel dim too.
Colour scaled(const Colour& c, int percent) {
    return {c.r * percent / 100, c.g * percent / 100, c.b * percent / 100, c.w * percent / 100};
}

// A par Step of one colour at a dimmer level.
int appendColour(Material& m, const Colour& c, int dimmer = 255) {
    return appendStep(
        m, {{fn::ColourDimmer, dimmer}, {fn::R, c.r}, {fn::G, c.g}, {fn::B, c.b}, {fn::W, c.w}});
}

int appendAlternate(Material& m, int parity, const Colour& c) {
    return appendAlternateStep(
        m, parity,
        {{fn::ColourDimmer, 255}, {fn::R, c.r}, {fn::G, c.g}, {fn::B, c.b}, {fn::W, c.w}});
}

Material pars(const QString& remark, int unifiedTime,
              std::initializer_list<int> channels = kParChannels) {
    return blankMaterial(remark, kPars, channels, unifiedTime, {kFirstPar});
}

QString describe(const QString& what) {
    return what + QStringLiteral("\r\n") + kForPars;
}

void addDanceRgb(std::vector<StarterMaterial>& out) {
    out.push_back({kDanceRgb, "红色跑马",
                   describe("红光单灯从虚拟灯具1依次跑到8，每步0.2秒，8步一圈。"),
                   chaseMaterial(pars("红色跑马", 2, {fn::ColourDimmer, fn::R}), headToTail(1))});
    out.push_back({kDanceRgb, "紫色双灯反向跑马",
                   describe("红蓝混成的紫光，两灯一组从虚拟灯具8向1反向跑动，每步0.2秒。"),
                   chaseMaterial(pars("紫色双灯反向跑马", 2, {fn::ColourDimmer, fn::R, fn::B}),
                                 headToTail(2, true))});
    out.push_back(
        {kDanceRgb, "青色四灯跑马", describe("青光四灯一组依次跑动，像一条光带绕场，每步0.3秒。"),
         chaseMaterial(pars("青色四灯跑马", 3, {fn::ColourDimmer, fn::G, fn::B}), headToTail(4))});

    Material rainbow = pars("七彩快变", 3);
    for (const Colour& c : {kRed, kOrange, kYellow, kGreen, kCyan, kBlue, kMagenta})
        appendColour(rainbow, c);
    out.push_back({kDanceRgb, "七彩快变",
                   describe("全部灯具同时在七种颜色间快速跳变，每色0.3秒，不渐变。"), rainbow});

    Material twoColour = pars("红蓝单双交替", 3);
    const int first = appendAlternate(twoColour, 1, kRed);
    const int second = appendAlternate(twoColour, 1, kBlue);
    for (int v = 2; v <= kPars; v += 2) {
        setLevels(twoColour, first, v, {{fn::ColourDimmer, 255}, {fn::B, 255}});
        setLevels(twoColour, second, v, {{fn::ColourDimmer, 255}, {fn::R, 255}});
    }
    out.push_back({kDanceRgb, "红蓝单双交替", describe("单数灯红、双数灯蓝，每0.3秒互换一次颜色。"),
                   twoColour});
}

void addDanceWhite(std::vector<StarterMaterial>& out) {
    out.push_back({kDanceWhite, "白光跑马",
                   describe("白光单灯依次跑动，每步0.1秒，节奏快的舞曲用。"),
                   chaseMaterial(pars("白光跑马", 1), headToTail(1))});

    Material flash = pars("白光爆闪", 1);
    appendColour(flash, kWhite);
    appendColour(flash, {}, 0);
    out.push_back(
        {kDanceWhite, "白光爆闪", describe("全部灯具白光亮0.1秒、灭0.1秒，反复闪烁。"), flash});

    Material alternate = pars("单双交替闪", 2);
    appendAlternate(alternate, 1, kWhite);
    appendAlternate(alternate, 0, kWhite);
    out.push_back({kDanceWhite, "单双交替闪",
                   describe("单数灯与双数灯轮流亮白光，每0.2秒交换一次。"), alternate});

    Material fadeOut = pars("全亮渐灭", 5);
    appendColour(fadeOut, kWhite);
    appendColour(fadeOut, {}, 0);
    fadeOut.setFadeToNext(1, 1);
    out.push_back({kDanceWhite, "全亮渐灭",
                   describe("白光全亮后在0.5秒内渐暗到灭，再次全亮，适合重拍。"), fadeOut});
}

void addSongRgb(std::vector<StarterMaterial>& out) {
    Material warm = pars("暖色渐变", 40);
    for (const Colour& c : {kRed, kOrange, kAmber, kWarmWhite})
        appendColour(warm, c);
    warm.setAllStepsFade(1);
    out.push_back({kSongRgb, "暖色渐变",
                   describe("红、橙、琥珀、暖白之间缓慢渐变，每色4秒，抒情歌曲用。"), warm});

    Material cool = pars("冷色渐变", 40);
    for (const Colour& c : {kBlue, kCyan, kTeal, kPurple})
        appendColour(cool, c);
    cool.setAllStepsFade(1);
    out.push_back(
        {kSongRgb, "冷色渐变", describe("蓝、青、湖绿、紫之间缓慢渐变，每色4秒。"), cool});

    Material rainbow = pars("彩虹慢变", 30);
    for (const Colour& c : {kRed, kYellow, kGreen, kCyan, kBlue, kMagenta})
        appendColour(rainbow, c);
    rainbow.setAllStepsFade(1);
    out.push_back({kSongRgb, "彩虹慢变", describe("六种颜色依次渐变一圈，每色3秒。"), rainbow});

    Material slowBlue =
        chaseMaterial(pars("蓝色慢跑马", 10, {fn::ColourDimmer, fn::B}), headToTail(3));
    slowBlue.setAllStepsFade(1);
    out.push_back({kSongRgb, "蓝色慢跑马",
                   describe("蓝光三灯一组缓慢移动，步与步之间渐变，每步1秒。"), slowBlue});
}

void addSongWhite(std::vector<StarterMaterial>& out) {
    Material breathe = pars("呼吸白光", 25);
    appendColour(breathe, kWarmWhite);
    appendColour(breathe, scaled(kWarmWhite, 20));
    breathe.setAllStepsFade(1);
    out.push_back({kSongWhite, "呼吸白光",
                   describe("暖白光在全亮与两成亮度之间缓慢起伏，每2.5秒一次，像呼吸。"), breathe});

    Material soft = pars("柔光常亮", 10);
    appendColour(soft, kWarmWhite);
    soft.setBrightnessCut(40);
    out.push_back({kSongWhite, "柔光常亮",
                   describe("暖白光以六成亮度常亮（亮度百分比60），适合安静的歌。"), soft});

    Material crossFade = pars("单双慢闪", 20);
    appendAlternate(crossFade, 1, kWarmWhite);
    appendAlternate(crossFade, 0, kWarmWhite);
    crossFade.setAllStepsFade(1);
    out.push_back({kSongWhite, "单双慢闪",
                   describe("单数灯与双数灯轮流亮暖白光，交叉渐变，每2秒交换。"), crossFade});
}

}  // namespace

void addParMaterials(std::vector<StarterMaterial>& out) {
    addDanceRgb(out);
    addDanceWhite(out);
    addSongRgb(out);
    addSongWhite(out);
}

}  // namespace kx::starter
