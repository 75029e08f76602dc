#include <gtest/gtest.h>

#include <QTest>

#include "shell_fixture.h"

namespace kx {
namespace {

// A newcomer's editor plugged in by one module each, against the simulated Controller.
class EditorRegistryTest : public test::ShellFixture {};

TEST_F(EditorRegistryTest, OneModulePlugsAnEditorIntoEveryPartOfTheProgram) {
    constexpr int kPreview = 5;
    std::vector<std::pair<int, int>> steps;
    std::vector<std::uint8_t> replies;
    int refreshed = 0;
    int entered = 0;

    EditorModule library = placeholder(EditorId::FixtureLibrary, "灯库", 3);
    library.liveView = kPreview;
    library.liveOutputs = {{kPreview, {[](DmxFrame& f) { f[2046] = 0x7F; }, true, false}}};
    library.wheelBase = 1000;
    library.wheelStep = [&](int direction, int channel) { steps.push_back({direction, channel}); };
    library.onReply = [&](std::uint8_t code, std::span<const std::uint8_t>) {
        replies.push_back(code);
    };
    library.showReplaced = [&] { ++refreshed; };
    EditorModule test = placeholder(EditorId::TestConsole, "测试", 5);
    test.enter = [&] { ++entered; };
    install({library, test});

    connectLink();
    QTest::mouseClick(shell->titleBar().functionButton(3), Qt::LeftButton);
    EXPECT_EQ(window.currentView(), shell->view(EditorId::FixtureLibrary));
    EXPECT_EQ(link->live().view(), kPreview);
    // What the editor composes is on the fixtures by the next tick: port D, address 510, ch 1.
    link->outputTick();
    ASSERT_TRUE(platform.pumpUntil([&] { return !sim->lastFrame(cmd::kDmxPortsCD).isEmpty(); }));
    EXPECT_EQ(static_cast<std::uint8_t>(sim->lastFrame(cmd::kDmxPortsCD)[2046 - 1025]), 0x7F);

    wheel.wheelTarget = 1012;
    wheel.onWheel(WheelRouter::kNotch);
    EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{1, 12}}));

    link->dispatchReply(0xCE, std::array<std::uint8_t, 1>{0x20});
    EXPECT_EQ(replies.back(), 0xCE);
    replaceShow();
    EXPECT_EQ(refreshed, 1);

    // An editor with an entry of its own runs it instead of being merely shown.
    QTest::mouseClick(shell->titleBar().functionButton(5), Qt::LeftButton);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(window.currentView(), shell->view(EditorId::FixtureLibrary));
}

TEST_F(EditorRegistryTest, EditorsSharingAButtonTakeItInTurn) {
    EditorModule effects = placeholder(EditorId::Effects, "效果", 4);
    EditorModule scenes = placeholder(EditorId::Scenes, "场景", 4);
    scenes.startsOnButton = true;
    EditorModule room = placeholder(EditorId::RoomControl, "灯控", 1);
    room.startsOnButton = true;
    EditorModule ir = placeholder(EditorId::IrLearning, "空调红外学习", 1);
    ir.buttonCaption = "灯控";
    install({effects, scenes, room, ir});

    QPushButton* four = shell->titleBar().functionButton(4);
    EXPECT_EQ(four->text(), "场景");
    QTest::mouseClick(four, Qt::LeftButton);
    EXPECT_EQ(window.currentView(), shell->view(EditorId::Scenes));
    // The scene editor opens an Effect: button 4 now reads and leads to the effect editor.
    shell->setButtonEditor(EditorId::Effects);
    EXPECT_EQ(four->text(), "效果");
    QTest::mouseClick(four, Qt::LeftButton);
    EXPECT_EQ(window.currentView(), shell->view(EditorId::Effects));

    shell->setButtonEditor(EditorId::IrLearning);
    QTest::mouseClick(shell->titleBar().functionButton(1), Qt::LeftButton);
    EXPECT_EQ(window.currentView(), shell->view(EditorId::IrLearning));
    EXPECT_EQ(shell->titleBar().functionButton(1)->text(), "灯控");
}

}  // namespace
}  // namespace kx

namespace kx {
namespace {

// Periodic work of several modules runs in one tier, in the list's order, and wakes the program
// only while some of it is busy.
TEST(EditorModulesPeriodicWork, ATierRunsEveryModulesWorkAndSleepsWhileNoneIsBusy) {
    std::vector<int> ran;
    bool firstBusy = false;
    bool secondBusy = false;
    std::vector<EditorModule> modules(3);
    modules[0].periodic = {{Tier::Every10ms, [&] { ran.push_back(1); }, [&] { return firstBusy; }},
                           {Tier::Every250ms, [&] { ran.push_back(250); }, {}}};
    modules[2].periodic = {
        {Tier::Every10ms, [&] { ran.push_back(2); }, [&] { return secondBusy; }}};

    periodicWork(modules, Tier::Every10ms)();
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    const auto busy = periodicBusy(modules, Tier::Every10ms);
    ASSERT_TRUE(busy);
    EXPECT_FALSE(busy());
    secondBusy = true;
    EXPECT_TRUE(busy());
    // Work without a busy test is always due; a tier without work has no task at all.
    EXPECT_FALSE(periodicBusy(modules, Tier::Every250ms));
    modules[0].periodic.pop_back();
    EXPECT_FALSE(periodicWork(modules, Tier::Every250ms));
}

}  // namespace
}  // namespace kx
