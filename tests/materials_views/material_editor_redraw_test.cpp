#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "base/edit_history.h"
#include "materials/material_editor_fixture.h"
#include "materials/material_editor_view.h"
#include "materials/material_exchange.h"
#include "materials/material_test_util.h"
#include "support/typing.h"
#include "support/view_snapshot.h"
#include "support/widget_lookup.h"

namespace kx {
namespace {

// Every kind of store and move of the Material window, undo and redo, each followed by a
// comparison with a window built afresh on a copy of the editor (the same Material and the same
// place in it): a control the window left undrawn shows the old state and fails the comparison.
class MaterialEditorRedrawTest : public test::MaterialEditorFixture {
  protected:
    void SetUp() override {
        test::patch(lib, 0, 8, 0, 1, {20, 21});
        test::patch(lib, 0, 9, 0, 5, {20});
        lib.at(0, 8).name = "左帕灯";
        setGroupMember(groups, 3, 9, true);
        setGroupRemark(groups, 3, "舞台");
        m() = test::sized(4, 3, 2);
        m().setMapped(1, 0, 8, true);
        editor.setHistory({&history, [] { return 1; }, {}, {}});
        view = makeView(editor);
        view->resize(1280, 681);
        view->show();
        view->Fun_窗体载入(1, 1, "夜场", "开场");
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    std::unique_ptr<MaterialEditorView> makeView(MaterialEditor& core) {
        MaterialEditorView::Hooks hooks;
        hooks.setLiveView = [](int) {};
        return std::make_unique<MaterialEditorView>(
            core, fake, appearance, MaterialEditorView::FaderPictures{}, std::move(hooks));
    }

    void expectSameAsFresh(const char* after) {
        MaterialEditor copy(editor);
        auto fresh = makeView(copy);
        fresh->resize(view->size());
        fresh->Fun_所有控件数据刷新();
        test::ViewSnapshot drawn = test::snapshotView(view.get());
        test::ViewSnapshot expected = test::snapshotView(fresh.get());
        // The copy count is what was typed there, not drawn from the Material.
        for (auto* shot : {&drawn, &expected})
            std::erase_if(*shot, [](const auto& kv) { return kv.first.startsWith("Combo复制步"); });
        EXPECT_EQ(test::viewDifferences(expected, drawn), "") << "after " << after;
    }

    template <typename W = QPushButton>
    W* find(const QString& name) {
        return test::named<W>(view.get(), name);
    }
    void click(const QString& name) { test::clickNamed(view.get(), name); }
    void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    void type(QLineEdit* box, const QString& text) { test::typeAndEnter(box, text); }
    void type(const QString& name, const QString& text) { type(find<QLineEdit>(name), text); }
    void typeInList(const QString& name, const QString& text) {
        type(find<QComboBox>(name)->lineEdit(), text);
    }
    void choose(const QString& name, int index) {
        auto* c = find<QComboBox>(name);
        c->setCurrentIndex(index);
        emit c->activated(index);
    }

    EditHistory history;
    Appearance appearance;
    std::unique_ptr<MaterialEditorView> view;
};

TEST_F(MaterialEditorRedrawTest, SettingsStepsAndValuesDrawWhatAFreshWindowDraws) {
    expectSameAsFresh("opening");
    test::retype(find<QLineEdit>("Text素材备注"), "追光");
    expectSameAsFresh("the remark");
    type("Text统一时间", "25");
    expectSameAsFresh("the unified time");
    click(find<QCheckBox>("Check单步时间"));
    expectSameAsFresh("per-Step times");
    type("Text单步时间", "7");
    expectSameAsFresh("a Step time");
    click(find<QCheckBox>("Check此步渐变到下一步"));
    expectSameAsFresh("fade to the next Step");
    click(find<QCheckBox>("Check所有步渐变"));
    expectSameAsFresh("all Steps fade");
    type("Text统一跳步", "3");
    expectSameAsFresh("the jump size");
    click(find<QCheckBox>("Check到达跳步区间末尾才跳步"));
    click(find<QCheckBox>("Check调用从头运行"));
    expectSameAsFresh("the jump and run switches");
    for (const char* box :
         {"Combo亮度百分比", "Combo下载后硬件加速", "Combo素材_启动方式", "Combo虚拟调光"}) {
        choose(box, 1);
        expectSameAsFresh(box);
    }

    click("Command下一步");
    expectSameAsFresh("the next Step");
    click("Command上一步");
    expectSameAsFresh("the previous Step");
    choose("Combo当前步", 1);
    expectSameAsFresh("a chosen Step");
    click("Command加一步");
    expectSameAsFresh("an added Step");
    click("Command复制加一步");
    expectSameAsFresh("a copied Step");
    click("Command删除步");
    expectSameAsFresh("a deleted Step");
    typeInList("Combo复制步", "2");
    click("Command复制步");
    click("Command粘贴步");
    expectSameAsFresh("pasted Steps");
    click("Command尾部粘贴");
    expectSameAsFresh("Steps pasted at the end");

    type("Text数值2", "200");
    expectSameAsFresh("a typed value");
    QTest::mousePress(view->fader(3), Qt::LeftButton, {}, QPoint(10, 2));
    QTest::mouseRelease(view->fader(3), Qt::LeftButton, {}, QPoint(10, 2));
    expectSameAsFresh("a fader");
    view->Fun_鼠标滚轮触发(0, 3);
    expectSameAsFresh("the wheel");
    click("Command复制数值");
    click("Command虚拟灯具2");
    expectSameAsFresh("another Virtual Fixture");
    click("Command粘贴数值");
    expectSameAsFresh("pasted values");
    click("Command数值128");
    expectSameAsFresh("every value 128");
    QTest::mousePress(find("Command虚拟灯具3"), Qt::RightButton);
    expectSameAsFresh("a right click");
    click(find<QCheckBox>("Check所有通道联动"));
    expectSameAsFresh("linking all channels");
    for (const char* tool : {"Command全选", "Command单数", "Command双数"}) {
        click(tool);
        expectSameAsFresh(tool);
    }

    // Undo puts back "全部", the value paste and the values; redo makes the first again.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(history.undo().done);
        expectSameAsFresh("an undo");
    }
    ASSERT_TRUE(history.redo().done);
    expectSameAsFresh("a redo");
}

TEST_F(MaterialEditorRedrawTest, PanelsDefinitionsAndMaterialOperationsDrawWhatAFreshWindowDraws) {
    QTest::mouseClick(find<QLabel>("Text通道定义2"), Qt::LeftButton);
    expectSameAsFresh("the definition picker");
    click("Command通道定义选择翻页");
    expectSameAsFresh("the picker's page");
    click("Command通道定义选择翻页");
    click("Command通道定义选择18");
    expectSameAsFresh("a picked definition");

    QTest::mouseDClick(find<QListWidget>("List临时通道")->viewport(), Qt::LeftButton);
    expectSameAsFresh("the Temporary Channel panel");
    click("Command临时通道选择6");
    expectSameAsFresh("a Temporary Channel");
    click("Command临时通道选择翻页");
    expectSameAsFresh("the Temporary Channels' page");
    QTest::mouseDClick(find<QListWidget>("List临时通道")->viewport(), Qt::LeftButton);

    click("Command灯具设置");
    expectSameAsFresh("the fixture panel");
    typeInList("Combo设置灯具数", "6");
    expectSameAsFresh("the fixture count");
    typeInList("Combo设置通道数", "22");
    expectSameAsFresh("the channel count");
    click("Command通道页2");
    expectSameAsFresh("the second channel page");
    click("Command配接灯具2");
    expectSameAsFresh("a patched Virtual Fixture");
    click("Command实际_灯具8");
    expectSameAsFresh("a mapped fixture");
    click("Command灯具分组3");
    expectSameAsFresh("a group");
    click("Command灯库页2");
    expectSameAsFresh("a library page");
    click("Command清除灯具选择");
    expectSameAsFresh("a cleared selection");
    click("Command灯具设置隐藏");
    expectSameAsFresh("the fixture panel hidden");

    // All definitions empty: the offer takes the mapped fixture's.
    for (int k = 1; k <= m().channelCount(); ++k)
        m().setChannelFunction(k, 0);
    view->Fun_所有控件数据刷新();
    click("Command采用灯具定义");
    expectSameAsFresh("taken definitions");

    choose("ComboXY动作辅助生成", 1);
    expectSameAsFresh("a motion mode");
    click("Command显示参数");
    expectSameAsFresh("the motion parameters");
    typeInList("Combo所有灯具参数1", "120");
    expectSameAsFresh("a global parameter");
    typeInList("Combo单个灯具参数7", "12");
    expectSameAsFresh("a fixture parameter");
    click("Command生成动作");
    expectSameAsFresh("generated motion");
    click("Command参数隐藏");
    expectSameAsFresh("the motion parameters hidden");

    click("Command演示");
    expectSameAsFresh("the demonstration");
    click("CommandDmx2");
    expectSameAsFresh("a demonstration port");
    click("Command演示返回");
    expectSameAsFresh("the demonstration left");

    click("Command复制素材");
    fake.yesNoAnswers = {true};
    click("Command删除");
    expectSameAsFresh("a deleted Material");
    fake.yesNoAnswers = {true};
    click("Command粘贴素材");
    expectSameAsFresh("a pasted Material");
    ASSERT_TRUE(history.undo().done);
    expectSameAsFresh("the paste taken back");
    ASSERT_TRUE(history.undo().done);
    expectSameAsFresh("the delete taken back");
}

}  // namespace
}  // namespace kx
