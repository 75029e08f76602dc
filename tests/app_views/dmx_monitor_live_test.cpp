#include <gtest/gtest.h>

#include <QTest>

#include "library_in_shell.h"
#include "monitor/dmx_monitor_module.h"
#include "monitor/dmx_monitor_window.h"

namespace kx {
namespace {

// The DMX monitor as the program plugs it in, over the Fixture Library's preview: it shows the
// frame each tick composed, connected or not, and leaves the tick alone once closed.
class DmxMonitorLiveTest : public test::LibraryInShell {
  protected:
    void SetUp() override {
        LibraryInShell::SetUp();
        QDir().mkpath(paths.sysConfig);
        modules.push_back(makeDmxMonitor(context()));
        connectTitleActions(shell->titleBar(), modules);
        monitor = window.findChild<DmxMonitorWindow*>();
        window.show();

        // An RGB par on A 1 playing red, and a dimmed RGBW par on page 2, B 10, playing blue
        // and white at half.
        patch(0, 1, 0, 1, {255, 0, 0}, {20, 21, 22});
        patch(1, 4, 1, 10, {128, 0, 0, 255, 60}, {10, 20, 21, 22, 23});
        QTest::mouseClick(shell->titleBar().functionButton(3), Qt::LeftButton);
        ASSERT_EQ(link->live().view(), 5);
    }

    void pressF9() { QTest::keyClick(&window, Qt::Key_F9); }

    QColor lampColour(int page, int number) {
        FixtureStageView& stage = monitor->stage();
        return stage.grab().toImage().pixelColor(stage.lampCentre(page, number));
    }

    DmxMonitorWindow* monitor = nullptr;
};

TEST_F(DmxMonitorLiveTest, TheMonitorShowsThePreviewOfflineAndWhatTheControllerGets) {
    EXPECT_FALSE(monitor->isVisible());
    EXPECT_EQ(link->live().tickObserverCount(), 0u);
    pressF9();
    ASSERT_TRUE(monitor->isVisible());
    EXPECT_EQ(link->live().tickObserverCount(), 1u);
    EXPECT_EQ(monitor->windowTitle(), "DMX监视 - 离线预览");

    // Not connected: the tick still composes the preview and the monitor shows it.
    link->outputTick();
    ChannelGridView& grid = monitor->grid();
    EXPECT_EQ(grid.value(1), 255);
    EXPECT_EQ(grid.value(2), 0);
    EXPECT_EQ(grid.value(522), 128);
    EXPECT_EQ(grid.value(525), 255);
    EXPECT_EQ(lampColour(0, 1), QColor(255, 0, 0));
    EXPECT_EQ(lampColour(1, 4), QColor(30, 30, 128));
    QTest::mouseClick(monitor->portButton(1), Qt::LeftButton);
    QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.cellRect(525).center());
    EXPECT_EQ(monitor->infoLabel()->text(), "B-13  页2 灯具 4 通道 4 B   = 255");

    // Connected, the cells hold exactly the frame the Controller received.
    connectLink();
    EXPECT_EQ(monitor->windowTitle(), "DMX监视");
    QTest::mouseClick(view->fixtureButton(1), Qt::LeftButton);
    QTest::mouseClick(view->channels().fader(2), Qt::LeftButton, {}, QPoint(10, 1));
    const std::size_t sets = sim->frameTimesNs(cmd::kDmxPortVJ).size();
    link->outputTick();
    ASSERT_TRUE(
        platform.pumpUntil([&] { return sim->frameTimesNs(cmd::kDmxPortVJ).size() > sets; }));
    const QByteArray ab = sim->lastFrame(cmd::kDmxPortsAB);
    for (int i = 1; i <= 1024; ++i)
        ASSERT_EQ(grid.value(i), static_cast<std::uint8_t>(ab[i - 1])) << i;
    EXPECT_EQ(grid.value(2), 255);
    EXPECT_EQ(lampColour(0, 1), QColor(255, 255, 0));

    // Closed (F9 again), it is no longer told the ticks.
    pressF9();
    EXPECT_FALSE(monitor->isVisible());
    EXPECT_EQ(link->live().tickObserverCount(), 0u);
    const int shown = monitor->ticksShown();
    link->outputTick();
    link->outputTick();
    EXPECT_EQ(monitor->ticksShown(), shown);
    link->toggleConnection();
    EXPECT_EQ(monitor->windowTitle(), "DMX监视 - 离线预览");

    // The title bar's button opens it again, on the current frame at once.
    auto* button = shell->titleBar().findChild<QPushButton*>("CommandDMX监视");
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(monitor->isVisible());
    EXPECT_EQ(monitor->ticksShown(), shown + 1);
    EXPECT_EQ(link->live().tickObserverCount(), 1u);
    monitor->close();
    EXPECT_EQ(link->live().tickObserverCount(), 0u);
}

TEST_F(DmxMonitorLiveTest, EveryPreviewViewPlaysInTheMonitorWithoutAController) {
    // Stand-ins for the Material, Effect and Scene editors' outputs: each writes its view
    // number at VJ 512 and A 1.
    for (int v : {7, 8, 9}) {
        LiveDmx::ViewOutput o;
        o.streams = true;
        o.compose = [v](DmxFrame& f) { f[1] = f[2560] = static_cast<std::uint8_t>(v); };
        link->live().defineView(v, o);
    }
    pressF9();
    for (int v : {7, 8, 9, 4, 5}) {
        link->setView(v);
        link->outputTick();
        const int expected = v == 5 ? 255 : v == 4 ? 0 : v;
        EXPECT_EQ(monitor->grid().value(1), expected) << v;
        EXPECT_EQ(monitor->grid().value(2560), v == 5 ? 0 : expected) << v;
    }
    EXPECT_FALSE(link->connected());
    EXPECT_EQ(monitor->windowTitle(), "DMX监视 - 离线预览");
}

}  // namespace
}  // namespace kx
