#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "../monitor/monitor_test_util.h"
#include "base/settings.h"
#include "monitor/dmx_monitor_window.h"

namespace kx {
namespace {

using test::patchFixture;
namespace code = test::code;

// The monitor window on its own, offscreen: what a frame makes its cells and lamps show, what
// the pointer and a drag do.
class DmxMonitorWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        paths = AppPaths::under(dir.path());
        QDir().mkpath(paths.sysConfig);
        patchFixture(lib, 0, 1, 0, 1, {code::R, code::G, code::B}, "帕灯");
        patchFixture(lib, 0, 2, 0, 3, {code::ColourDimmer, code::B});  // overlaps fixture 1
        patchFixture(lib, 1, 3, 3, 511, {code::X, code::Y, code::W});  // runs into VJ
        window = std::make_unique<DmxMonitorWindow>(lib, names, paths);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // The colour the stage shows at (or beside) a lamp's centre.
    QColor lampColour(int page, int number, QPoint offset = {}) {
        FixtureStageView& stage = window->stage();
        return stage.grab().toImage().pixelColor(stage.lampCentre(page, number) + offset);
    }

    QTemporaryDir dir;
    AppPaths paths;
    FixtureLibrary lib;
    ChannelFunctionNames names = defaultChannelFunctionNames();
    std::unique_ptr<DmxMonitorWindow> window;
};

TEST_F(DmxMonitorWindowTest, CellsAndLampsShowTheFrameAndThePointerNamesTheChannel) {
    EXPECT_EQ(window->windowTitle(), "DMX监视 - 离线预览");
    DmxFrame frame{};
    frame[1] = 255;
    frame[3] = 255;
    frame[4] = 255;
    frame[2049] = 255;
    window->showFrame(frame);
    ChannelGridView& grid = window->grid();
    EXPECT_EQ(grid.value(1), 255);
    EXPECT_EQ(grid.value(2), 0);

    // Fixture 1 mixes red and blue; fixture 2's dimmer is fixture 1's blue, fully up.
    EXPECT_EQ(lampColour(0, 1), QColor(255, 0, 255));
    EXPECT_EQ(lampColour(0, 2), QColor(0, 0, 255));
    ASSERT_NE(window->stage().lookOf(0, 1), nullptr);
    EXPECT_TRUE(window->stage().lookOf(0, 1)->overlaps);
    EXPECT_TRUE(window->stage().lookOf(1, 3)->overruns);
    // Its beam points up and left (pan and tilt at 0), away from the light below right.
    EXPECT_EQ(lampColour(1, 3, QPoint(8, 8)), QColor(255, 255, 255));

    QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.cellRect(3).center());
    EXPECT_EQ(window->infoLabel()->text(),
              "A-3  重叠: 灯具 1 [帕灯] 通道 3 B / 灯具 2 通道 1 染色调光   = 255");
    QTest::mouseMove(&grid, grid.cellRect(2).center());
    EXPECT_EQ(window->infoLabel()->text(), "A-2  灯具 1 [帕灯] 通道 2 G   = 0");
    // The text follows the next tick's value.
    frame[2] = 40;
    window->showFrame(frame);
    EXPECT_EQ(window->infoLabel()->text(), "A-2  灯具 1 [帕灯] 通道 2 G   = 40");

    // The VJ page: the overrunning fixture's white channel is VJ 1.
    QTest::mouseClick(window->portButton(4), Qt::LeftButton);
    EXPECT_TRUE(window->portButton(4)->isChecked());
    EXPECT_FALSE(window->portButton(0)->isChecked());
    EXPECT_TRUE(grid.cellRect(3).isEmpty());
    QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.cellRect(2049).center());
    EXPECT_EQ(window->infoLabel()->text(), "VJ-1  页2 灯具 3 通道 3 W (越界)   = 255");
}

// The cells' texts are laid out when the grid is first painted, not with the window: every cell
// still shows its own address and its value from the first paint on.
TEST_F(DmxMonitorWindowTest, EveryCellShowsItsAddressAndValue) {
    ChannelGridView& grid = window->grid();
    auto cell = [&grid](int index) { return grid.grab(grid.cellRect(index)).toImage(); };
    // Unpatched, the same value: the cells differ by their addresses alone.
    const int first = 20;
    EXPECT_NE(cell(first), cell(first + 1));
    EXPECT_NE(cell(first + 1), cell(first + 2));
    DmxFrame frame{};
    frame[first] = 7;
    frame[first + 1] = 7;
    window->showFrame(frame);
    const QImage seven = cell(first);
    frame[first] = 8;
    window->showFrame(frame);
    EXPECT_NE(cell(first), seven);
    frame[first] = 7;
    window->showFrame(frame);
    EXPECT_EQ(cell(first), seven);
}

TEST_F(DmxMonitorWindowTest, ANewPatchIsTakenUpOnTheNextFrame) {
    DmxFrame frame{};
    frame[600] = 128;
    window->showFrame(frame);
    EXPECT_EQ(window->stage().lookOf(0, 9), nullptr);
    patchFixture(lib, 0, 9, 1, 88, {code::G});
    window->showFrame(frame);
    ASSERT_NE(window->stage().lookOf(0, 9), nullptr);
    EXPECT_EQ(lampColour(0, 9), QColor(0, 128, 0));
    names[code::G] = "R";  // a renamed function counts by its new name
    window->showFrame(frame);
    EXPECT_EQ(lampColour(0, 9), QColor(128, 0, 0));
}

TEST_F(DmxMonitorWindowTest, DraggingALampArrangesTheRoomAndWorkSetKeepsIt) {
    FixtureStageView& stage = window->stage();
    const QPoint from = stage.lampRect(0, 1).center();
    const QPoint to = stage.placeRect({5, 1}).center();
    QTest::mousePress(&stage, Qt::LeftButton, {}, from);
    QTest::mouseMove(&stage, from + QPoint(20, 20));
    QTest::mouseMove(&stage, to);
    QTest::mouseRelease(&stage, Qt::LeftButton, {}, to);
    EXPECT_EQ(stage.lampRect(0, 1), stage.placeRect({5, 1}));
    EXPECT_EQ(stage.lampRect(0, 2), stage.placeRect({1, 0}));
    EXPECT_EQ(Fun_IniRead(paths.workSet, kLampPlacesKey), "1:5,1;2:1,0;103:2,0");

    // A click without a move leaves every lamp where it is.
    QTest::mouseClick(&stage, Qt::LeftButton, {}, stage.lampRect(0, 2).center());
    EXPECT_EQ(stage.lampRect(0, 2), stage.placeRect({1, 0}));

    DmxMonitorWindow again(lib, names, paths);
    EXPECT_EQ(again.stage().lampRect(0, 1), again.stage().placeRect({5, 1}));
}

}  // namespace
}  // namespace kx
