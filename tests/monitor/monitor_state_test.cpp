#include <gtest/gtest.h>

#include "monitor/dmx_monitor_state.h"

namespace kx {
namespace {

TEST(MonitorStateTest, CaptionSaysWhenTheFramesStayInTheTool) {
    EXPECT_EQ(monitorCaption(true), "DMX监视");
    EXPECT_EQ(monitorCaption(false), "DMX监视 - 离线预览");
}

TEST(MonitorStateTest, TheWindowOpensBesideTheMainWindowAndStaysOnTheScreen) {
    const QRect main(0, 0, 1280, 800);
    const QSize size(1240, 740);
    EXPECT_EQ(besidePosition(main, size, QRect(0, 0, 2560, 1440)), QPoint(1280, 0));
    EXPECT_EQ(besidePosition(QRect(1300, 20, 1280, 800), size, QRect(0, 0, 2600, 1440)),
              QPoint(60, 20));
    // No room either side: against the right edge, over the main window, raised into view.
    EXPECT_EQ(besidePosition(QRect(0, 100, 1280, 800), size, QRect(0, 0, 1280, 800)),
              QPoint(40, 60));
    EXPECT_EQ(besidePosition(main, size, QRect()), QPoint(1280, 0));
}

TEST(MonitorStateTest, ShadesStayReadableAndOnlyThePortShownIsCompared) {
    EXPECT_EQ(cellShade(0).back, (Rgb{0x1c, 0x22, 0x2e}));
    EXPECT_EQ(cellShade(255).back, (Rgb{0xff, 0xb0, 0x20}));
    EXPECT_EQ(cellShade(100).text, (Rgb{0xff, 0xff, 0xff}));
    EXPECT_EQ(cellShade(200).text, (Rgb{0x10, 0x10, 0x10}));

    DmxFrame a{};
    DmxFrame b{};
    b[512] = 1;
    b[513] = 2;
    b[1024] = 3;
    b[2049] = 4;
    std::vector<int> changed{99};
    changedChannels(a, b, 1, changed);
    EXPECT_EQ(changed, (std::vector<int>{513, 1024}));
    changedChannels(a, b, 4, changed);
    EXPECT_EQ(changed, (std::vector<int>{2049}));
    changedChannels(a, a, 0, changed);
    EXPECT_TRUE(changed.empty());
}

TEST(MonitorStateTest, OnlyThePatchAndTheNamesMakeTheMapBeBuiltAgain) {
    FixtureLibrary a;
    a.at(0, 1).startAddress = 1;
    a.at(0, 1).channelCount = 3;
    FixtureLibrary b = a;
    b.at(0, 1).testValues[0] = 200;
    b.at(2, 1).startAddress = 5;  // a page not in use
    EXPECT_TRUE(samePatch(a, b));
    b.at(0, 1).functions[2] = 22;
    EXPECT_FALSE(samePatch(a, b));
    b = a;
    b.at(1, 100).name = "新";
    EXPECT_FALSE(samePatch(a, b));

    ChannelFunctionNames n = defaultChannelFunctionNames();
    ChannelFunctionNames m = n;
    EXPECT_TRUE(sameNames(n, m));
    m[90] = "琥珀";
    EXPECT_FALSE(sameNames(n, m));

    LampLook shown;
    LampLook next = shown;
    EXPECT_FALSE(lampNeedsRedraw(shown, next));
    next.strobe = 100;
    EXPECT_TRUE(lampNeedsRedraw(next, next));
    next = shown;
    next.colour.g = 1;
    EXPECT_TRUE(lampNeedsRedraw(shown, next));
}

}  // namespace
}  // namespace kx
