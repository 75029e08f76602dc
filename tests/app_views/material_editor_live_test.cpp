#include <gtest/gtest.h>

#include <QTest>

#include "link/protocol.h"
#include "materials/builtin_materials_panel.h"
#include "materials/chase_generator_window.h"
#include "materials/material_editor_module.h"
#include "materials/material_editor_view.h"
#include "materials/material_test_util.h"
#include "shell_fixture.h"

namespace kx {
namespace {

// The Material editor in front of a connected link: what reaches the simulated Controller is
// what the output engine computes for the window's Material, tick by tick.
class MaterialEditorLiveTest : public test::ShellFixture {
  protected:
    void SetUp() override {
        ShellFixture::SetUp();
        test::patch(show.library, 0, 1, 0, 1, {20, 21, 22, 150});  // port A 1-4
        test::patch(show.library, 0, 2, 1, 10, {21, 20});          // port B 10-11
        test::patch(show.library, 1, 1, 3, 500, {22});             // page 1, port D 500
        show.library.at(0, 1).adjustValues[3] = 66;
        Material& m = material();
        m = test::sized(2, 3, 3);
        for (int k = 1; k <= 3; ++k)
            m.setChannelFunction(k, 19 + k);
        m.setMapped(1, 0, 1, true);
        m.setMapped(2, 0, 2, true);
        m.setMapped(2, 1, 1, true);
        m.setTempChannel(1, 150);
        for (int s = 1; s <= 3; ++s)
            for (int v = 1; v <= 2; ++v)
                for (int k = 1; k <= 3; ++k)
                    m.setValue(s, v, k, 10 * s + 3 * v + k);
        m.setUnifiedTime(2);
        m.setJumpSize(1);  // every Step holds until a jump request

        install({makeMaterialEditor(context())});
        view = viewOf<MaterialEditorView>(EditorId::Materials);
        chase = view->findChild<ChaseGeneratorWindow*>();
        builtIns = view->findChild<BuiltInMaterialsPanel*>();
        connectLink();
        shell->enter(EditorId::Materials);
    }

    Material& material() { return show.materials.at(1, 1); }
    QPushButton* button(const QString& name) { return view->findChild<QPushButton*>(name); }
    // Ports A-D of a frame as the Controller receives them in 0x6A and 0x6B.
    static std::pair<QByteArray, QByteArray> portsOf(const DmxFrame& frame) {
        const auto* f = reinterpret_cast<const char*>(frame.data());
        return {QByteArray(f + 1, 1024), QByteArray(f + 1025, 1024)};
    }
    // One output tick; true when the Controller received its frame set and it is the expected
    // frame.
    bool tickShows(const DmxFrame& expected) {
        const qint64 before = sim->datagramCount();
        link->outputTick();
        if (!simReceived(before + 3)) return false;
        const auto [ab, cd] = portsOf(expected);
        return sim->lastFrame(cmd::kDmxPortsAB) == ab && sim->lastFrame(cmd::kDmxPortsCD) == cd;
    }

    MaterialEditorView* view = nullptr;
    ChaseGeneratorWindow* chase = nullptr;
    BuiltInMaterialsPanel* builtIns = nullptr;
    // Computes independently what the frames must carry.
    MaterialOutput reference;
    DmxFrame expected{};
};

TEST_F(MaterialEditorLiveTest, TheStaticStepAndAFaderMoveReachTheFixturesAtTheNextTick) {
    EXPECT_EQ(link->live().view(), 7);
    EXPECT_EQ(window.currentView(), view);
    reference.beginTick(expected);
    reference.previewCurrentStep(material(), 1, 1, show.library, expected);
    EXPECT_EQ(expected[4], 66);  // the Temporary Channel
    EXPECT_EQ(expected[1536 + 500], 10 + 6 + 3);
    ASSERT_TRUE(tickShows(expected));

    // The fader of channel 2 pushed to the top: Virtual Fixture 1's G on fixture 1 of port A.
    FaderView* fader = view->fader(2);
    QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(10, 1));
    QTest::mouseRelease(fader, Qt::LeftButton, {}, QPoint(10, 1));
    ASSERT_EQ(material().value(1, 1, 2), 255);
    expected.fill(0);
    reference.previewCurrentStep(material(), 1, 1, show.library, expected);
    EXPECT_EQ(expected[2], 255);
    ASSERT_TRUE(tickShows(expected));

    // A new patch is on the fixtures at the next tick too.
    show.library.at(0, 2).startAddress = 40;
    expected.fill(0);
    reference.previewCurrentStep(material(), 1, 1, show.library, expected);
    EXPECT_EQ(expected[512 + 40], 10 + 6 + 2);  // the fixture's channel 1 is G
    EXPECT_EQ(expected[512 + 41], 10 + 6 + 1);
    EXPECT_EQ(expected[512 + 10], 0);
    ASSERT_TRUE(tickShows(expected));
}

TEST_F(MaterialEditorLiveTest, TheDemonstrationRunsTickByTickAndJumpsOnRequest) {
    QTest::mouseClick(button("Command演示"), Qt::LeftButton);
    EXPECT_EQ(link->live().view(), 8);
    std::vector<int> steps;
    for (int tick = 0; tick < 8; ++tick) {
        const bool jump = tick == 4;
        if (jump) QTest::mouseClick(button("Command跳步"), Qt::LeftButton);
        reference.beginTick(expected);
        reference.previewRun(material(), 1, show.library, jump, expected);
        ASSERT_TRUE(tickShows(expected)) << tick;
        steps.push_back(engine.runState(1).runStep);
    }
    // Step 1 is held until the request; the request's tick ends it and Step 2 follows.
    EXPECT_EQ(steps, (std::vector<int>{1, 1, 1, 1, 2, 2, 2, 2}));
    EXPECT_EQ(view->findChild<QLabel*>("Label演示信息")->text(), "步2/3   时长2/2");
    EXPECT_TRUE(view->findChild<QPlainTextEdit*>("Text演示数据")
                    ->toPlainText()
                    .startsWith(QStringLiteral("%1 %2 %3 066")
                                    .arg(10 * 2 + 3 + 1, 3, 10, QChar('0'))
                                    .arg(10 * 2 + 3 + 2, 3, 10, QChar('0'))
                                    .arg(10 * 2 + 3 + 3, 3, 10, QChar('0'))));

    QTest::mouseClick(button("Command演示返回"), Qt::LeftButton);
    EXPECT_EQ(link->live().view(), 7);
}

TEST_F(MaterialEditorLiveTest, TheLiveCircleTurnsOnTheFixtures) {
    Material& m = material();
    m.setChannelFunction(1, 20);
    m.setChannelFunction(2, 21);
    QComboBox* mode = view->findChild<QComboBox*>("ComboXY动作辅助生成");
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Down);
    ASSERT_EQ(m.motionMode(), 1);
    QTest::mouseClick(button("Command显示参数"), Qt::LeftButton);
    m.setMotionPerFixture(1, 7, 100);  // radius 100 around 127
    m.setMotionPerFixture(1, 1, 127);
    m.setMotionPerFixture(1, 4, 127);
    std::vector<int> xs;
    for (int tick = 0; tick < 3; ++tick) {
        reference.beginTick(expected);
        reference.previewCurrentStep(m, 1, 1, show.library, expected);
        ASSERT_TRUE(tickShows(expected)) << tick;
        xs.push_back(expected[1]);
    }
    EXPECT_EQ(engine.circleAngle(), 30);
    EXPECT_GT(xs[0], xs[2]);  // turning away from angle 0
    EXPECT_EQ(expected[4], 66);
}

}  // namespace
}  // namespace kx

namespace kx {
namespace {

TEST_F(MaterialEditorLiveTest, ChaseToolAndLibrariesWorkOnTheShownMaterial) {
    window.show();
    QTest::mouseClick(button("Command跑马工具"), Qt::LeftButton);
    ASSERT_TRUE(chase->isVisible());
    chase->Combo跑马类型->setCurrentIndex(1);
    QTest::mouseClick(chase->Command生成数据, Qt::LeftButton);
    // Two Virtual Fixtures chased one at a time: two Steps, shown by the editor at once.
    EXPECT_EQ(material().stepCount(), 2);
    EXPECT_EQ(view->findChild<QLabel*>("Label总步数")->text(), "总步数：2");
    // Another view in front: the window closes with the next tick.
    link->setView(live_view::kMaterialRun);
    link->outputTick();
    EXPECT_FALSE(chase->isVisible());

    QTest::mouseClick(button("Command标准素材"), Qt::LeftButton);
    EXPECT_TRUE(builtIns->isVisible());
    EXPECT_TRUE(builtIns->state().shown());
    QTest::mouseClick(button("Command个性素材"), Qt::LeftButton);
    EXPECT_TRUE(builtIns->isVisible());
}

}  // namespace
}  // namespace kx

namespace kx {
namespace {

TEST_F(MaterialEditorLiveTest, CtrlZPutsTheRestoredStepOnTheFixturesAtTheNextTick) {
    window.show();
    const Material before = material();
    FaderView* fader = view->fader(1);
    QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(10, 1));
    QTest::mouseRelease(fader, Qt::LeftButton, {}, QPoint(10, 1));
    ASSERT_EQ(material().value(1, 1, 1), 255);
    reference.beginTick(expected);
    reference.previewCurrentStep(material(), 1, 1, show.library, expected);
    ASSERT_TRUE(tickShows(expected));
    EXPECT_EQ(sim->lastFrame(cmd::kDmxPortsAB).at(0), char(255));

    QTest::keyClick(view->valueBox(1), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(material(), before);
    expected.fill(0);
    reference.previewCurrentStep(before, 1, 1, show.library, expected);
    EXPECT_EQ(expected[1], 10 + 3 + 1);
    EXPECT_TRUE(tickShows(expected));
}

}  // namespace
}  // namespace kx
