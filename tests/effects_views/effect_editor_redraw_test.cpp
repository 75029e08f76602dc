#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "base/edit_history.h"
#include "effects/effect_editor_view.h"
#include "materials/memory_images.h"
#include "support/fake_platform.h"
#include "support/typing.h"
#include "support/view_snapshot.h"
#include "support/widget_lookup.h"

namespace kx {
namespace {

// Every kind of store of the Effect editor, its moves, undo and redo, each followed by a
// comparison with a view built afresh on the same Effect, bank and position: a control one of
// them leaves undrawn shows the old state and fails the comparison.
class EffectEditorRedrawTest : public test::FakePlatformTest {
  protected:
    void SetUp() override {
        setBarCount(effects.at(2), kNoBassPart, 20);
        setBeatsPerBar(effects.at(2), kNoBassPart, 8);
        for (int s : {1, 2}) {
            Material& m = bank.at(1, s);
            m.setFixtureCount(1);
            m.setChannelCount(1);
            m.setStepCount(1);
            m.setRemark(QStringLiteral("素材%1").arg(s));
        }
        view = makeView(engine, jump);
        // No redraw on reveal: what undo and redo put back is drawn from the announcement alone.
        view->editor().setHistory(&history, [] {});
        view->resize(1280, 681);
        view->Fun_窗体载入();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    std::unique_ptr<EffectEditorView> makeView(MaterialOutput& output, std::uint8_t& jumps) {
        return std::make_unique<EffectEditorView>(
            EffectEditorModel{effects, bank, current, lib, images, output, jumps},
            EffectEditorView::Services{appearance,
                                       {fake, fake},
                                       [](QWidget* v) { v->show(); },
                                       [] {},
                                       [this] { view->Fun_窗体载入(); },
                                       [] {},
                                       [] {}});
    }

    // A view entered as the program enters it, moved where this one stands. Its drum is pressed
    // as often as this one's (the drum is the editor's, not the Effect's).
    void expectSameAsFresh(const char* after) {
        MaterialOutput otherEngine;
        std::uint8_t otherJump = 0;
        auto fresh = makeView(otherEngine, otherJump);
        fresh->resize(view->size());
        fresh->Fun_窗体载入();
        fresh->editor().moveTo(view->editor().position());
        for (int i = 0; i < drumPresses; ++i)
            fresh->editor().pressAutomatic();
        fresh->Fun_所有控件数据刷新();
        test::ViewSnapshot drawn = test::snapshotView(view.get());
        test::ViewSnapshot expected = test::snapshotView(fresh.get());
        // The dwell box's colour says whether the last typing was taken: the typing's, not the
        // Effect's.
        for (auto* shot : {&drawn, &expected})
            std::erase_if(*shot, [](const auto& kv) {
                return kv.first.startsWith("Combo小节停留时间.palette");
            });
        EXPECT_EQ(test::viewDifferences(expected, drawn), "") << "after " << after;
    }

    void click(const QString& name) { test::clickNamed(view.get(), name); }
    void choose(const QString& box, int entry) {
        auto* c = test::named<QComboBox>(view.get(), box);
        c->setCurrentIndex(entry);
        emit c->activated(entry);
    }
    void retype(const QString& box, const QString& text) {
        test::retype(test::named<QLineEdit>(view.get(), box), text);
    }
    Effect& fx() { return effects.at(2); }

    EffectTable effects;
    MaterialBank bank;
    int current = 2;
    FixtureLibrary lib;
    test::MemoryImages images;
    MaterialOutput engine;
    std::uint8_t jump = 0;
    Appearance appearance;
    EditHistory history;
    int drumPresses = 0;
    std::unique_ptr<EffectEditorView> view;
};

TEST_F(EffectEditorRedrawTest, EveryStoreMoveUndoAndRedoDrawsWhatAFreshViewDraws) {
    expectSameAsFresh("entering");

    click("Command素材_当前拍3");
    expectSameAsFresh("a grid click");
    click("Command素材_低音拍2");
    expectSameAsFresh("an all-Beats flag");
    click("Command拍演示5");
    expectSameAsFresh("a Beat");
    click("Command下一拍");
    expectSameAsFresh("the next Beat");
    click("Command小节_页0");
    expectSameAsFresh("the page button");
    click("Command小节无低音2");
    expectSameAsFresh("a Bar on the second page");

    // Bars beyond a shrunk count stay where the editor stands: back to the first page first.
    click("Command小节_页0");
    click("Command小节无低音2");
    choose("Combo小节数0", 3);
    expectSameAsFresh("the Bar count");
    choose("Combo拍数0", 4);
    expectSameAsFresh("the Beats per Bar");
    click("Check开启独立低音");
    expectSameAsFresh("independent bass");
    choose("Combo小节数1", 2);
    choose("Combo拍数1", 3);
    click("Command小节低音2");
    expectSameAsFresh("the bass part's shape and a bass Bar");

    click("Command素材_当前拍1");
    click("Command复制小节");
    click("Command小节无低音1");
    fake.yesNoAnswers = {true};
    click("Command粘贴小节");
    expectSameAsFresh("a pasted Bar");
    fake.yesNoAnswers = {true};
    click("Command清空小节");
    expectSameAsFresh("a cleared Bar");

    click("Check低音保持");
    expectSameAsFresh("the Bar's bass hold");
    choose("Combo小节重复次数", 5);
    expectSameAsFresh("the Bar's repeat");
    test::retype(test::named<QComboBox>(view.get(), "Combo小节停留时间")->lineEdit(), "25");
    expectSameAsFresh("a typed dwell time");
    choose("Combo小节停留时间", 3);
    expectSameAsFresh("a chosen dwell time");

    retype("Text效果备注", QStringLiteral("开场"));
    expectSameAsFresh("the Effect remark");
    for (const char* box : {"Check低音返回时拍子对应", "Check禁止低音", "Check低音切换跳小节"}) {
        click(box);
        expectSameAsFresh(box);
    }
    for (const char* box :
         {"Combo低音保持时间", "ComboVJ控制方式", "ComboRGB阀值", "ComboXY阀值"}) {
        choose(box, 2);
        expectSameAsFresh(box);
    }

    click("Command功能模块3");
    expectSameAsFresh("a Module");
    retype("Text模块备注", QStringLiteral("副歌"));
    expectSameAsFresh("the Module remark");
    click("Check4素材关联");
    expectSameAsFresh("Material association");
    choose("Combo素材关联重复次数", 4);
    expectSameAsFresh("the association repeat");
    click("Command功能模块1");
    click("Command素材2");
    expectSameAsFresh("a Slot");
    click("Command自动");
    ++drumPresses;
    expectSameAsFresh("the automatic drum");

    // Undo takes back the association repeat, the association and the Module remark of Module 3
    // while Module 1 is shown; redo makes them again.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(history.undo().done);
        expectSameAsFresh("an undo");
    }
    EXPECT_EQ(fx().modules[2].remark, "");
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(history.redo().done);
        expectSameAsFresh("a redo");
    }
    EXPECT_EQ(fx().modules[2].materialAssociation, 1);
}

TEST_F(EffectEditorRedrawTest, ClearsAndImportsDrawWhatAFreshViewDraws) {
    click("Command素材_当前拍2");
    retype("Text模块备注", QStringLiteral("主歌"));
    const QString moduleFile = fake.dir.filePath("模块." + kModuleExt);
    fake.dialogAnswers = {moduleFile};
    click("Command模块另存为");
    const QString effectFile = fake.dir.filePath("效果." + kSingleEffectExt);
    fake.dialogAnswers = {effectFile};
    click("Command效果另存");
    ASSERT_TRUE(fake.messages.isEmpty()) << fake.messages.join('\n').toStdString();

    fake.yesNoAnswers = {true};
    click("Command清空效果");
    expectSameAsFresh("a cleared Effect");
    EXPECT_EQ(bank.at(1, 1).remark(), "");

    fake.yesNoAnswers = {true};
    fake.dialogAnswers = {moduleFile};
    click("Command导入模块");
    expectSameAsFresh("an imported Module");
    EXPECT_EQ(bank.at(1, 2).remark(), QStringLiteral("素材2"));

    fake.yesNoAnswers = {true};
    fake.dialogAnswers = {effectFile};
    click("Command导入效果");
    expectSameAsFresh("an imported Effect");
    EXPECT_EQ(fx().modules[0].remark, QStringLiteral("主歌"));

    ASSERT_TRUE(history.undo().done);
    expectSameAsFresh("the import taken back");
}

// The redraw of a remark leaves the text being typed alone: a character typed inside it stays
// where it was typed and the cursor after it.
TEST_F(EffectEditorRedrawTest, TypingInsideARemarkKeepsTheCursorWhereItIs) {
    auto* remark = test::named<QLineEdit>(view.get(), "Text模块备注");
    test::retype(remark, "AB");
    remark->setCursorPosition(1);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "X");
    QApplication::sendEvent(remark, &press);
    EXPECT_EQ(fx().modules[0].remark, "AXB");
    EXPECT_EQ(remark->cursorPosition(), 2);
    EXPECT_EQ(view->moduleButton(1)->text(), "AXB");
}

}  // namespace
}  // namespace kx
