#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "base/file_io.h"
#include "materials/material_editor_fixture.h"
#include "materials/material_editor_view.h"
#include "materials/material_exchange.h"
#include "materials/material_test_util.h"
#include "shell/appearance_view.h"
#include "support/typing.h"

namespace kx {
namespace {

// The Material window on the offscreen platform, driven through its real widgets.
class MaterialEditorViewTest : public test::MaterialEditorFixture {
  protected:
    MaterialEditorViewTest() {
        MaterialEditorView::Hooks hooks;
        hooks.setLiveView = [this](int v) { liveViews.push_back(v); };
        hooks.requestJump = [this] { ++jumps; };
        hooks.setWheelTarget = [this](int t) { wheelTarget = t; };
        hooks.builtinMaterials = [this](int folder) { builtin.push_back(folder); };
        view = std::make_unique<MaterialEditorView>(
            editor, fake, appearance, MaterialEditorView::FaderPictures{}, std::move(hooks));
        view->resize(1280, 681);
        view->show();
    }

    void open(int fixtures, int channels, int steps) {
        m() = test::sized(fixtures, channels, steps);
        view->Fun_窗体载入(1, 1, "夜场", "开场");
    }
    template <typename W>
    W* find(const QString& name) {
        W* w = view->findChild<W*>(name);
        EXPECT_TRUE(w) << name.toStdString();
        return w;
    }
    void click(const QString& name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }
    // Types into a box and finishes the entry with Enter.
    void type(QLineEdit* box, const QString& text) { test::typeAndEnter(box, text); }
    void type(const QString& name, const QString& text) { type(find<QLineEdit>(name), text); }
    void typeInList(const QString& name, const QString& text) {
        type(find<QComboBox>(name)->lineEdit(), text);
    }
    QColor base(QWidget* w) { return w->palette().color(QPalette::Base); }
    std::optional<Bgr> colourOf(const QString& name) {
        return buttonBackColour(find<QPushButton>(name));
    }

    Appearance appearance;
    std::vector<int> liveViews;
    std::vector<int> builtin;
    int jumps = 0;
    int wheelTarget = -1;
    std::unique_ptr<MaterialEditorView> view;
};

TEST_F(MaterialEditorViewTest, TimeBoxesBrightnessAndTheTimeLabel) {
    m().setUnifiedTime(0);
    open(1, 1, 2);
    EXPECT_EQ(find<QLabel>("Label效果")->text(), "效果:夜场");
    EXPECT_EQ(find<QLabel>("Label时间显示")->text(), "1.0秒");
    EXPECT_EQ(m().unifiedTime(), 10);
    QLineEdit* stepTime = find<QLineEdit>("Text单步时间");
    EXPECT_TRUE(stepTime->isHidden());
    QTest::mouseClick(find<QCheckBox>("Check单步时间"), Qt::LeftButton);
    EXPECT_FALSE(stepTime->isHidden());
    EXPECT_EQ(find<QLabel>("Label时间标题")->text(), "单步时间");
    const QColor normal = base(stepTime);
    type(stepTime, "65000");
    EXPECT_EQ(base(stepTime), QColor(255, 0, 255));
    EXPECT_EQ(m().stepTime(1), 10);
    type(stepTime, "25");
    EXPECT_EQ(base(stepTime), normal);
    EXPECT_EQ(find<QLabel>("Label时间显示")->text(), "2.5秒");
    EXPECT_EQ(m().stepTime(1), 25);
    click("Command下一步");
    EXPECT_EQ(stepTime->text(), "10");  // Step 2's own time
    QTest::mouseClick(find<QCheckBox>("Check单步时间"), Qt::LeftButton);
    EXPECT_TRUE(stepTime->isHidden());
    EXPECT_EQ(find<QLabel>("Label时间标题")->text(), "统一时间");

    type("Text统一跳步", "300");
    EXPECT_EQ(base(find<QLineEdit>("Text统一跳步")), QColor(255, 127, 128));
    EXPECT_EQ(m().jumpSize(), 0);

    QComboBox* brightness = find<QComboBox>("Combo亮度百分比");
    brightness->setFocus();
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(brightness, Qt::Key_Down);
    EXPECT_EQ(brightness->currentText(), "80");
    EXPECT_EQ(m().brightnessCut(), 20);
}

TEST_F(MaterialEditorViewTest, EvenFixturesTakeATypedValueAndLinkingCopiesEveryChannel) {
    open(6, 3, 1);
    click("Command双数");
    EXPECT_EQ(colourOf("Command虚拟灯具2"), 0x807FFFu);
    EXPECT_EQ(colourOf("Command虚拟灯具4"), 0xC0C000u);
    EXPECT_EQ(colourOf("Command虚拟灯具3"), 0xC0C0C0u);
    EXPECT_TRUE(find<QPushButton>("Command虚拟灯具7")->isHidden());
    type("Text数值1", "200");
    for (int v = 1; v <= 6; ++v)
        EXPECT_EQ(m().value(1, v, 1), v % 2 == 0 ? 200 : 0) << v;
    type("Text数值2", "300");  // not a DMX value: nothing changes
    EXPECT_EQ(m().value(1, 2, 2), 0);
    EXPECT_EQ(base(find<QLineEdit>("Text数值2")), QColor(255, 127, 128));

    QTest::mouseClick(find<QPushButton>("Command虚拟灯具3"), Qt::RightButton);
    EXPECT_EQ(colourOf("Command虚拟灯具3"), 0xC0C000u);
    QTest::mouseClick(find<QCheckBox>("Check所有通道联动"), Qt::LeftButton);
    m().setValue(1, 2, 3, 9);
    type("Text数值2", "7");
    for (int v : {3, 4, 6})
        EXPECT_EQ((std::vector{m().value(1, v, 1), m().value(1, v, 2), m().value(1, v, 3)}),
                  (std::vector{200, 7, 9}))
            << v;
    EXPECT_EQ(m().value(1, 5, 2), 0);

    // A left click clears the selection and shows the clicked one on the faders.
    QTest::mouseClick(find<QPushButton>("Command虚拟灯具5"), Qt::LeftButton);
    EXPECT_EQ(colourOf("Command虚拟灯具3"), 0xC0C0C0u);
    EXPECT_EQ(find<QLineEdit>("Text数值1")->text(), "0");
}

TEST_F(MaterialEditorViewTest, FadersWheelAndPagesWriteThroughValueEntry) {
    open(1, 24, 0);
    FaderView* fader = view->fader(3);
    ASSERT_FALSE(fader->isHidden());
    // A click at the top of the track centres the knob there: the top value.
    QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(10, 2));
    QTest::mouseRelease(fader, Qt::LeftButton, {}, QPoint(10, 2));
    EXPECT_EQ(find<QLineEdit>("Text数值3")->text(), "255");
    EXPECT_EQ(m().stepCount(), 1);  // the first value made Step 1
    EXPECT_EQ(m().value(1, 1, 3), 255);
    EXPECT_EQ(find<QComboBox>("Combo当前步")->currentText(), "1");
    EXPECT_EQ(wheelTarget, 2003);
    view->Fun_鼠标滚轮触发(0, 3);
    EXPECT_EQ(m().value(1, 1, 3), 254);
    EXPECT_EQ(find<QLineEdit>("Text数值3")->text(), "254");

    EXPECT_TRUE(view->fader(21)->isHidden());
    click("Command通道页2");
    EXPECT_FALSE(view->fader(21)->isHidden());
    EXPECT_TRUE(view->fader(25)->isHidden());
    EXPECT_TRUE(view->fader(3)->isHidden());
    EXPECT_EQ(view->fader(21)->geometry().x(), view->fader(1)->geometry().x());
    EXPECT_EQ(colourOf("Command通道页2"), 0xE0B84Cu);

    click("Command通道页1");
    click("Command复制数值");
    click("Command数值128");
    EXPECT_EQ(m().value(1, 1, 24), 128);
    click("Command粘贴数值");
    EXPECT_EQ(m().value(1, 1, 3), 254);
    EXPECT_EQ(m().value(1, 1, 24), 0);
}

TEST_F(MaterialEditorViewTest, DefinitionPickerAndTemporaryChannelPanel) {
    open(1, 4, 1);
    m().setChannelFunction(2, 17);
    view->Fun_所有控件数据刷新();
    QLabel* definition = find<QLabel>("Text通道定义2");
    EXPECT_EQ(definition->text(), "T=17");
    QTest::mouseClick(definition, Qt::LeftButton);
    MaterialCodeGrid* picker = view->picker();
    ASSERT_FALSE(picker->isHidden());
    EXPECT_EQ(buttonBackColour(picker->codeButton(17)), 0x80C0FFu);
    QTest::mouseClick(picker->pageButton(), Qt::LeftButton);
    EXPECT_EQ(picker->pageButton()->text(), "上一页");
    EXPECT_FALSE(picker->codeButton(255)->isHidden());
    EXPECT_TRUE(picker->codeButton(20)->isHidden());
    QTest::mouseClick(picker->pageButton(), Qt::LeftButton);
    QTest::mouseClick(picker->codeButton(20), Qt::LeftButton);
    EXPECT_EQ(m().channelFunction(2), 20);
    EXPECT_TRUE(picker->isHidden());
    EXPECT_EQ(definition->text(), "R");

    QListWidget* list = find<QListWidget>("List临时通道");
    QTest::mouseDClick(list->viewport(), Qt::LeftButton);
    MaterialCodeGrid* temp = view->tempPanel();
    ASSERT_FALSE(temp->isHidden());
    for (int code = 1; code <= 20; ++code)
        QTest::mouseClick(temp->codeButton(code), Qt::LeftButton);
    EXPECT_EQ(list->count(), 20);
    EXPECT_EQ(list->item(19)->text(), "20 - R");
    EXPECT_EQ(buttonBackColour(temp->codeButton(20)), 0x807FFFu);
    QTest::mouseClick(temp->codeButton(21), Qt::LeftButton);
    EXPECT_EQ(fake.messages, QStringList{"最多支持20个通道"});
    EXPECT_FALSE(m().hasTempChannel(21));
    QTest::mouseClick(temp->codeButton(5), Qt::LeftButton);
    EXPECT_EQ(list->count(), 19);
    EXPECT_EQ(buttonBackColour(temp->codeButton(5)), 0xC0C0C0u);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton);
    EXPECT_TRUE(temp->isHidden());
}

TEST_F(MaterialEditorViewTest, FixturePanelCountsPatchingAndGroups) {
    open(6, 2, 1);
    m().setValue(1, 6, 2, 44);
    test::patch(lib, 0, 8, 0, 1, {20});
    test::patch(lib, 0, 9, 0, 5, {20});
    test::patch(lib, 1, 9, 1, 5, {20});
    lib.at(0, 8).name = "左帕灯";
    setGroupMember(groups, 3, 9, true);
    setGroupMember(groups, 3, 109, true);
    setGroupRemark(groups, 3, "舞台");
    click("Command灯具设置");
    ASSERT_FALSE(view->fixturePanel()->isHidden());

    typeInList("Combo设置灯具数", "41");
    EXPECT_EQ(base(view->fixturePanel()->fixtureCountBox()), QColor(255, 127, 128));
    EXPECT_EQ(m().fixtureCount(), 6);
    typeInList("Combo设置灯具数", "4");
    EXPECT_EQ(m().fixtureCount(), 4);
    EXPECT_TRUE(find<QPushButton>("Command虚拟灯具5")->isHidden());
    EXPECT_TRUE(find<QPushButton>("Command配接灯具5")->isHidden());
    typeInList("Combo设置灯具数", "6");
    EXPECT_FALSE(find<QPushButton>("Command虚拟灯具6")->isHidden());
    EXPECT_EQ(m().value(1, 6, 2), 44);
    typeInList("Combo设置通道数", "33");
    EXPECT_EQ(m().channelCount(), 2);

    EXPECT_FALSE(find<QPushButton>("Command实际_灯具8")->isHidden());
    EXPECT_TRUE(find<QPushButton>("Command实际_灯具7")->isHidden());
    EXPECT_EQ(find<QPushButton>("Command实际_灯具8")->text(), "页1 A-1 左帕灯");
    click("Command配接灯具2");
    EXPECT_EQ(colourOf("Command配接灯具2"), 0x807FFFu);
    click("Command实际_灯具8");
    EXPECT_TRUE(m().isMapped(2, 0, 8));
    EXPECT_EQ(colourOf("Command实际_灯具8"), 0x807FFFu);
    EXPECT_EQ(find<QPushButton>("Command灯具分组3")->text(), "舞台");
    click("Command灯具分组3");
    EXPECT_TRUE(m().isMapped(2, 0, 8));  // already driven: stays
    EXPECT_TRUE(m().isMapped(2, 0, 9));
    EXPECT_TRUE(m().isMapped(2, 1, 9));
    click("Command灯库页2");
    EXPECT_EQ(colourOf("Command灯库页2"), 0xC0FFC0u);
    EXPECT_TRUE(find<QPushButton>("Command实际_灯具8")->isHidden());
    click("Command清除灯具选择");
    EXPECT_FALSE(m().isMapped(2, 0, 8));
    EXPECT_FALSE(m().isMapped(2, 1, 9));
    click("Command灯具设置隐藏");
    EXPECT_TRUE(view->fixturePanel()->isHidden());
}

TEST_F(MaterialEditorViewTest, StepAndMaterialOperationsTellTheirRefusals) {
    open(2, 2, 3);
    m().setValue(2, 1, 1, 5);
    click("Command下一步");
    click("Command复制加一步");
    EXPECT_EQ(m().stepCount(), 4);
    EXPECT_EQ(find<QLabel>("Label总步数")->text(), "总步数：4");
    EXPECT_EQ(find<QComboBox>("Combo当前步")->currentText(), "3");
    EXPECT_EQ(m().value(3, 1, 1), 5);
    click("Command删除步");
    EXPECT_EQ(m().stepCount(), 3);
    click("Command复制步");
    EXPECT_EQ(fake.messages.back(), "复制步数不能为0");
    typeInList("Combo复制步", "x");
    EXPECT_EQ(base(find<QComboBox>("Combo复制步")), QColor(255, 127, 160));
    typeInList("Combo复制步", "2");
    click("Command复制步");
    click("Command尾部粘贴");
    EXPECT_EQ(m().stepCount(), 5);

    m().setStepCount(kMaxSteps);
    click("Command加一步");
    EXPECT_EQ(fake.messages.back(), "已经是最大步数!!!");
    EXPECT_EQ(m().stepCount(), kMaxSteps);

    // A damaged clipboard is refused and the Material stays as it was.
    const Material before = m();
    ASSERT_TRUE(writeWholeFile(paths.materialClipboard,
                               buildSingleMaterialFile(test::sized(1, 1, 1), lib)->left(28)));
    fake.yesNoAnswers = {true};
    click("Command粘贴素材");
    EXPECT_EQ(fake.messages.back(), "读取失败");
    EXPECT_EQ(m(), before);

    fake.yesNoAnswers = {true};
    click("Command删除");
    EXPECT_EQ(fake.questions.back(), "是否删除素材?");
    EXPECT_EQ(m().stepCount(), 0);
    EXPECT_EQ(find<QLabel>("Label总步数")->text(), "总步数：0");

    click("Command个性素材");
    EXPECT_EQ(builtin, std::vector<int>{1});
}

TEST_F(MaterialEditorViewTest, MotionPanelAndDemonstration) {
    open(2, 2, 0);
    QComboBox* mode = find<QComboBox>("ComboXY动作辅助生成");
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Down);
    EXPECT_EQ(m().motionMode(), 1);
    EXPECT_TRUE(view->motionPanel()->isHidden());
    click("Command显示参数");
    ASSERT_FALSE(view->motionPanel()->isHidden());
    EXPECT_EQ(view->motionPanel()->title(), "画圆");
    EXPECT_EQ(view->motionPanel()->fixtureBox(7)->currentText(), "10");
    type(view->motionPanel()->globalBox(1)->lineEdit(), "256");
    EXPECT_EQ(base(view->motionPanel()->globalBox(1)), QColor(255, 127, 128));
    type(view->motionPanel()->globalBox(1)->lineEdit(), "120");
    EXPECT_EQ(m().motionGlobal(1), 120);
    click("Command生成动作");
    EXPECT_EQ(m().stepCount(), 4);
    EXPECT_EQ(find<QLabel>("Label总步数")->text(), "总步数：4");
    EXPECT_EQ(find<QLabel>("Label时间显示")->text(), "0.1秒");
    EXPECT_TRUE(find<QCheckBox>("Check所有步渐变")->isChecked());

    click("Command演示");
    EXPECT_EQ(liveViews, std::vector<int>{8});
    ASSERT_FALSE(view->demoPanel()->isHidden());
    click("Command跳步");
    EXPECT_EQ(jumps, 1);
    click("CommandDmx2");
    EXPECT_EQ(editor.displayedPort(), 1);
    view->showRun(editor.composeRun(false, *std::make_unique<DmxFrame>()));
    EXPECT_EQ(find<QLabel>("Label演示信息")->text(), "步2/4   时长1/1");
    click("Command演示返回");
    EXPECT_EQ(liveViews, (std::vector<int>{8, 7}));
    EXPECT_TRUE(view->demoPanel()->isHidden());
}

}  // namespace
}  // namespace kx
