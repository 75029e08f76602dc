#include <gtest/gtest.h>

#include <QTest>

#include "link/protocol.h"
#include "show_editors_fixture.h"

namespace kx {
namespace {

constexpr int kDimmer = 5;

// The Effect editor as the program plugs it in, entered from the Scene editor, against the
// simulated Controller: the frames it receives are what the Effect output computes for the Beat
// the editor shows.
class EffectEditorLiveTest : public test::ShowEditorsFixture {
  protected:
    void SetUp() override {
        ShowEditorsFixture::SetUp();
        for (int n = 1; n <= 2; ++n) {
            Fixture& f = show.library.at(0, n);
            f.startAddress = static_cast<std::int16_t>(10 * n);
            f.channelCount = 1;
            f.functions[0] = kDimmer;
        }
        EditorContext& ctx = context();
        install({makeSceneEditor(ctx), makeEffectEditor(ctx),
                 placeholder(EditorId::Materials, "素材", 4, "MaterialEditorView")});
        scenes = viewOf<SceneEditorView>(EditorId::Scenes);
        view = viewOf<EffectEditorView>(EditorId::Effects);
        enterScenes();
        ASSERT_EQ(window.currentView(), scenes);
    }

    // Opens Effect 1 with two Materials: Slot 1 of Module 1 on Beat 2 (fixture 1), and Slot 2 on
    // every Beat (fixture 2), each stepping only on a drum beat.
    void openEffect() {
        QTest::mouseClick(scenes->effectButton(1), Qt::LeftButton);
        ASSERT_EQ(window.currentView(), view);
        Effect& fx = show.effects.at(1);
        setBarCount(fx, kNoBassPart, 1);
        setBeatsPerBar(fx, kNoBassPart, 4);
        setBeatSelection(fx, kNoBassPart, 1, 2, 1, 1, 1);
        setAllBeatsFlag(fx, AllBeatsFlag::BothParts, 1, 2, 1);
        for (int s : {1, 2}) {
            Material& m = show.materials.at(1, s);
            m.setFixtureCount(1);
            m.setChannelCount(1);
            m.setChannelFunction(1, kDimmer);
            m.setMapped(1, 0, s, true);
            m.setStepCount(3);
            m.setUnifiedTime(1);
            m.setJumpSize(1);
            for (int step = 1; step <= 3; ++step)
                m.setValue(step, 1, 1, 40 * step + s);
        }
        view->Fun_窗体载入();
    }

    // One output tick, as the program's, and the same tick of a reference Effect output; the
    // Controller's frame must carry the reference's values.
    void tickAndCompare(const char* what) {
        JumpRequest jump{link->live().oneTickRequest()};
        jump.beginTick();
        effectOutputTick(show.currentEffect, show.effects, show.materials,
                         view->editor().position(), show.library, reference, jump, referenceDrum,
                         expected);
        const qint64 before = sim->datagramCount();
        link->outputTick();
        ASSERT_TRUE(simReceived(before + 3)) << what;
        const QByteArray ab = sim->lastFrame(cmd::kDmxPortsAB);
        for (int address : {10, 20})
            EXPECT_EQ(static_cast<std::uint8_t>(ab[address - 1]), expected[address])
                << what << " at " << address;
        seen.push_back({static_cast<std::uint8_t>(ab[9]), static_cast<std::uint8_t>(ab[19])});
    }

    MaterialOutput reference;
    SimulatedDrum referenceDrum;
    DmxFrame expected{};
    SceneEditorView* scenes = nullptr;
    EffectEditorView* view = nullptr;
    std::vector<std::pair<int, int>> seen;
};

TEST_F(EffectEditorLiveTest, FramesCarryTheShownBeatAndManualBeatsStepTheMaterials) {
    connectLink();
    openEffect();
    EXPECT_EQ(link->live().view(), 9);
    EXPECT_EQ(shell->titleBar().functionButton(4)->text(), "效果");

    tickAndCompare("Beat 1");
    EXPECT_EQ(seen.back(), (std::pair<int, int>{0, 42}));  // only the all-Beats Material
    // A beat button raises a drum beat: the Materials step on the next tick, so the first
    // frame with it still shows their Step 1 and the one after it Step 2.
    QTest::mouseClick(view->beatButton(2), Qt::LeftButton);
    tickAndCompare("Beat 2");
    EXPECT_EQ(seen.back(), (std::pair<int, int>{41, 42}));
    tickAndCompare("stepped");
    EXPECT_EQ(seen.back(), (std::pair<int, int>{81, 82}));
    tickAndCompare("held");
    EXPECT_EQ(seen.back(), (std::pair<int, int>{81, 82}));
    QTest::mousePress(view->findChild<QPushButton*>("Command手动"), Qt::LeftButton);
    QTest::mouseRelease(view->findChild<QPushButton*>("Command手动"), Qt::LeftButton);
    tickAndCompare("manual");
    tickAndCompare("after manual");
    EXPECT_EQ(seen.back(), (std::pair<int, int>{121, 122}));

    // The Material buttons open the Material editor; its return enters the Effect editor again.
    QTest::mouseClick(view->materialButton(2), Qt::LeftButton);
    EXPECT_EQ(window.currentView(), shell->view(EditorId::Materials));
    shell->enter(EditorId::Effects);
    EXPECT_EQ(link->live().view(), 9);
    EXPECT_EQ(view->editor().position().slot, 2);
}

TEST_F(EffectEditorLiveTest, AnUndoneGridClickLeavesTheFixturesOnTheNextTick) {
    connectLink();
    openEffect();
    tickAndCompare("Beat 1");
    EXPECT_EQ(seen.back().first, 0);
    QTest::mouseClick(view->gridButton(1, 1), Qt::LeftButton);  // Slot 1 on Beat 1 too
    tickAndCompare("selected");
    tickAndCompare("selected, stepped");
    EXPECT_NE(seen.back().first, 0);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(beatSelected(show.effects.at(1), kNoBassPart, 1, 1, 1, 1));
    tickAndCompare("undone");
    EXPECT_EQ(seen.back().first, 0);
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    tickAndCompare("redone");
    EXPECT_NE(seen.back().first, 0);
}

TEST_F(EffectEditorLiveTest, TheAutomaticHalfSecondDrumStepsEveryFifthTick) {
    connectLink();
    openEffect();
    QTest::mouseClick(view->findChild<QPushButton*>("Command自动"), Qt::LeftButton);
    referenceDrum.automatic.press();
    for (int tick = 1; tick <= 13; ++tick)
        tickAndCompare("automatic");
    // Beats are raised on ticks 6 and 11, are active on the next tick, and step the Material
    // for the tick after that.
    std::vector<int> fixture2;
    for (const auto& s : seen)
        fixture2.push_back(s.second);
    EXPECT_EQ(fixture2, (std::vector<int>{42, 42, 42, 42, 42, 42, 42, 82, 82, 82, 82, 82, 122}));
    EXPECT_GT(view->editor().drum().indicatorRefreshes, 0);

    // Another view stops the Effect output.
    QTest::mouseClick(view->findChild<QPushButton*>("Command返回"), Qt::LeftButton);
    EXPECT_EQ(window.currentView(), scenes);
    EXPECT_EQ(link->live().view(), 4);
}

}  // namespace
}  // namespace kx
