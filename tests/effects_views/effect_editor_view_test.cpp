#include <gtest/gtest.h>

#include <QTest>

#include "effects/effect_editor_view.h"
#include "materials/memory_images.h"
#include "shell/appearance_view.h"
#include "support/fake_platform.h"
#include "support/typing.h"

namespace kx {
namespace {

// The Effect editor's view on Effect 2, clicked and typed into as the technician does.
class EffectEditorViewTest : public test::FakePlatformTest {
  protected:
    void SetUp() override {
        setBarCount(effects.at(2), kNoBassPart, 20);
        setBeatsPerBar(effects.at(2), kNoBassPart, 8);
        view = std::make_unique<EffectEditorView>(
            EffectEditorModel{effects, bank, current, lib, images, engine, jump},
            EffectEditorView::Services{appearance,
                                       {fake, fake},
                                       [](QWidget* v) { v->show(); },
                                       [this] { ++titleMode; },
                                       [this] { view->Fun_窗体载入(); },
                                       [this] { ++materialEditor; },
                                       [this] { ++scenes; }});
        view->resize(1280, 681);
        view->Fun_窗体载入();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    Effect& fx() { return effects.at(2); }
    template <typename T>
    T* find(const QString& name) {
        T* w = view->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    void click(const QString& name) { click(find<QAbstractButton>(name)); }
    void choose(const QString& box, int entry) {
        auto* c = find<QComboBox>(box);
        c->setCurrentIndex(entry);
        emit c->activated(entry);
    }
    static Bgr back(QAbstractButton* b) { return buttonBackColour(b).value_or(0xFFFFFFFF); }
    static void retype(QLineEdit* box, const QString& text) { test::retype(box, text); }
    const EffectEditorPosition& pos() { return view->editor().position(); }

    EffectTable effects;
    MaterialBank bank;
    int current = 2;
    FixtureLibrary lib;
    test::MemoryImages images;
    MaterialOutput engine;
    std::uint8_t jump = 0;
    Appearance appearance;
    int titleMode = 0;
    int materialEditor = 0;
    int scenes = 0;
    std::unique_ptr<EffectEditorView> view;
};

TEST_F(EffectEditorViewTest, EnteringSetsTheDefaultsAndTheGridClickPreviewsItsBeat) {
    EXPECT_EQ(titleMode, 1);
    EXPECT_EQ(fx().bassHoldTime, 40);
    EXPECT_EQ(find<QComboBox>("Combo小节停留时间")->currentText(), "40");
    EXPECT_EQ(find<QLabel>("Label拍子停留时间")->text(), "4.0秒");
    EXPECT_EQ(find<QGroupBox>("Frame当前小节设置")->title(), "无低音小节 [1]");
    EXPECT_FALSE(find<QWidget>("Frame提示未设置小节数")->isVisible());
    EXPECT_EQ(pos().beat, 1);

    QPushButton* cell = find<QPushButton>("Command素材_当前拍24");  // row 3, column 8
    EXPECT_EQ(cell, view->gridButton(3, 8));
    click(cell);
    EXPECT_TRUE(beatSelected(fx(), kNoBassPart, 1, 8, 1, 3));
    EXPECT_EQ(pos().beat, 8);
    EXPECT_EQ(jump, 1);
    EXPECT_EQ(back(cell), 0x00CCCCu);
    EXPECT_EQ(back(view->beatButton(8)), 0x0080FFu);
    EXPECT_EQ(back(view->beatButton(1)), 0xC0C0C0u);
    click(find<QAbstractButton>("Command素材_所有拍3"));
    EXPECT_TRUE(allBeatsFlag(fx(), AllBeatsFlag::BothParts, 1, 3));
    EXPECT_EQ(back(find<QPushButton>("Command素材_所有拍3")), 0x00CCCCu);

    // Fewer Beats per Bar hide their columns and bring the previewed Beat back to 1.
    choose("Combo拍数0", 4);
    EXPECT_FALSE(view->gridButton(3, 5)->isVisible());
    EXPECT_FALSE(view->beatButton(8)->isVisible());
    EXPECT_EQ(pos().beat, 1);
    click("Command下一拍");
    EXPECT_EQ(pos().beat, 2);
}

TEST_F(EffectEditorViewTest, BarButtonsPageAndTheBassPartAppearsWithIndependentBass) {
    QPushButton* page = find<QPushButton>("Command小节_页0");
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(page->text(), "1-16");
    click(page);
    EXPECT_EQ(page->text(), "17-32");
    EXPECT_EQ(view->barButton(kNoBassPart, 1)->text(), "17");
    EXPECT_TRUE(view->barButton(kNoBassPart, 4)->isVisible());
    EXPECT_FALSE(view->barButton(kNoBassPart, 5)->isVisible());
    click(find<QPushButton>("Command小节无低音3"));
    EXPECT_EQ(pos().bar, 19);
    EXPECT_EQ(back(view->barButton(kNoBassPart, 3)), 0x8080FFu);
    EXPECT_EQ(back(view->barButton(kNoBassPart, 2)), 0x808080u);
    EXPECT_EQ(find<QGroupBox>("Frame当前小节设置")->title(), "无低音小节 [19]");

    EXPECT_FALSE(find<QWidget>("Command小节低音1")->isVisible());
    EXPECT_FALSE(find<QWidget>("Combo小节数1")->isVisible());
    click("Check开启独立低音");
    EXPECT_EQ(fx().independentBass, 1);
    EXPECT_TRUE(find<QWidget>("Combo小节数1")->isVisible());
    choose("Combo小节数1", 3);
    choose("Combo拍数1", 2);
    EXPECT_TRUE(find<QWidget>("Command小节低音3")->isVisible());
    EXPECT_FALSE(find<QWidget>("Command小节低音4")->isVisible());
    click("Command小节低音2");
    EXPECT_EQ(pos().part, kBassPart);
    EXPECT_EQ(find<QGroupBox>("Frame当前小节设置")->title(), "低音小节 [2]");
    EXPECT_FALSE(view->gridButton(1, 3)->isVisible());

    // Copy the bass Bar, paste into no-bass Bar 19.
    click("Command素材_当前拍1");
    click("Command复制小节");
    click(view->barButton(kNoBassPart, 3));
    fake.yesNoAnswers = {true};
    click("Command粘贴小节");
    EXPECT_TRUE(beatSelected(fx(), kNoBassPart, 19, 1, 1, 1));
    EXPECT_EQ(back(view->gridButton(1, 1)), 0x00CCCCu);
}

TEST_F(EffectEditorViewTest, ModulesSlotsAndAssociation) {
    bank.at(5, 2).setRemark("追光");
    bank.at(5, 2).setFixtureCount(1);
    bank.at(5, 2).setChannelCount(1);
    bank.at(5, 2).setStepCount(1);
    click(view->moduleButton(5));
    EXPECT_EQ(pos().module, 5);
    EXPECT_EQ(view->materialButton(2)->text(), "追光");
    EXPECT_EQ(back(view->materialButton(2)), 0xC0C0C0u);
    EXPECT_EQ(back(view->materialButton(1)), 0x808080u);
    EXPECT_EQ(back(view->moduleButton(5)), 0x00CCCCu);
    EXPECT_EQ(back(view->moduleButton(1)), 0x808080u);
    EXPECT_EQ(view->moduleButton(5)->text(), "");
    retype(find<QLineEdit>("Text模块备注"), QStringLiteral("灯光秀"));
    EXPECT_EQ(fx().modules[4].remark, "灯光秀");
    EXPECT_EQ(view->moduleButton(5)->text(), "灯光秀");

    click(find<QAbstractButton>("Command素材7"));
    EXPECT_EQ(pos().slot, 7);
    EXPECT_EQ(materialEditor, 1);

    click(view->gridButton(2, 1));
    EXPECT_FALSE(find<QWidget>("Command素材关联提示1")->isVisible());
    EXPECT_FALSE(find<QWidget>("Combo素材关联重复次数")->isVisible());
    click("Check4素材关联");
    EXPECT_EQ(fx().modules[4].materialAssociation, 1);
    for (int s : {2, 3, 4, 6, 7, 8, 10, 11, 12}) {
        EXPECT_FALSE(view->gridButton(s, 1)->isVisible()) << s;
        EXPECT_FALSE(find<QWidget>("Command素材_无低音拍" + QString::number(s))->isVisible());
    }
    EXPECT_TRUE(view->gridButton(5, 1)->isVisible());
    EXPECT_TRUE(find<QWidget>("Command素材关联提示1")->isVisible());
    EXPECT_TRUE(beatSelected(fx(), kNoBassPart, 1, 1, 5, 2));
    choose("Combo素材关联重复次数", 12);
    EXPECT_EQ(fx().modules[4].associationRepeat, 12);
    click(view->moduleButton(1));
    EXPECT_TRUE(view->gridButton(2, 1)->isVisible());

    click("Command返回");
    EXPECT_EQ(scenes, 1);
}

TEST_F(EffectEditorViewTest, SettingsBoxesStoreAndTheDwellTimeRefusesBadText) {
    QLineEdit* dwell = find<QComboBox>("Combo小节停留时间")->lineEdit();
    retype(dwell, "300");
    EXPECT_EQ(fx().parts[kNoBassPart].bars[0].beatDwellTime, 30);  // "3", "30" were taken
    EXPECT_EQ(dwell->text(), "30");
    EXPECT_EQ(toBgr(dwell->palette().color(QPalette::Base)), 0x8080FFu);
    retype(dwell, "x");
    EXPECT_EQ(fx().parts[kNoBassPart].bars[0].beatDwellTime, 30);
    EXPECT_EQ(dwell->text(), "30");
    retype(dwell, "15");
    EXPECT_EQ(fx().parts[kNoBassPart].bars[0].beatDwellTime, 15);
    EXPECT_EQ(find<QLabel>("Label拍子停留时间")->text(), "1.5秒");
    EXPECT_EQ(toBgr(dwell->palette().color(QPalette::Base)), 0xD0D0D0u);

    choose("ComboXY阀值", 128);
    EXPECT_EQ(fx().xyThreshold, 128);
    choose("ComboXY阀值", 0);
    EXPECT_EQ(fx().xyThreshold, 0);
    choose("ComboVJ控制方式", 2);
    EXPECT_EQ(fx().vjMode, 2);
    choose("Combo低音保持时间", 0);
    EXPECT_EQ(fx().bassHoldTime, 5);
    choose("ComboRGB阀值", 200);
    EXPECT_EQ(fx().rgbThreshold, 200);
    choose("Combo小节重复次数", 36);
    EXPECT_EQ(fx().parts[kNoBassPart].bars[0].repeat, 36);
    click("Check低音保持");
    EXPECT_EQ(fx().parts[kNoBassPart].bars[0].bassHold, 1);
    retype(find<QLineEdit>("Text效果备注"), "OK");
    EXPECT_EQ(fx().remark, "OK");

    auto* disabled = find<QCheckBox>("Check禁止低音");
    click(disabled);
    EXPECT_EQ(fx().bassDisabled, 1);
    EXPECT_TRUE(disabled->font().bold());
    EXPECT_EQ(toBgr(disabled->palette().color(QPalette::WindowText)), 0x0000FFu);
    jump = 0;
    QTest::mousePress(find<QPushButton>("Command手动"), Qt::LeftButton);
    EXPECT_EQ(jump, 0);
    click(disabled);
    QTest::mouseRelease(find<QPushButton>("Command手动"), Qt::LeftButton);
    QTest::mousePress(find<QPushButton>("Command手动"), Qt::LeftButton);
    EXPECT_EQ(jump, 1);
    EXPECT_FALSE(disabled->font().bold());

    click("Command自动");
    EXPECT_EQ(find<QPushButton>("Command自动")->text(), "自动0.5秒");

    // "清空效果" asks; Yes clears and enters again with the default times.
    click("Command清空效果");
    EXPECT_EQ(fx().rgbThreshold, 200);
    fake.yesNoAnswers = {true};
    click("Command清空效果");
    EXPECT_EQ(fx().rgbThreshold, 0);
    EXPECT_EQ(fx().bassHoldTime, 40);
    EXPECT_EQ(fx().parts[kNoBassPart].bars[0].beatDwellTime, 40);
    EXPECT_TRUE(find<QWidget>("Frame提示未设置小节数")->isVisible());
    EXPECT_EQ(find<QComboBox>("Combo低音保持时间")->currentText(), "40");
}

TEST_F(EffectEditorViewTest, TheDrumIndicatorAndTheCorrespondenceWarningFlash) {
    auto* frame = find<QGroupBox>("Frame模拟鼓点");
    auto caption = [frame] { return toBgr(frame->palette().color(QPalette::WindowText)); };
    click(view->beatButton(2));
    for (int i = 0; i < 10; ++i) {
        view->Fun_模拟鼓点颜色显示();
        EXPECT_EQ(caption(), 0xFF00FFu) << i;
    }
    view->Fun_模拟鼓点颜色显示();
    EXPECT_EQ(caption(), 0xFFFF80u);

    auto* check = find<QCheckBox>("Check低音返回时拍子对应");
    auto warning = [check] { return toBgr(check->palette().color(QPalette::WindowText)); };
    click(check);
    view->Fun_拍子对应_有错显示();
    EXPECT_EQ(warning(), 0xFF00FFu);
    view->Fun_拍子对应_有错显示();
    EXPECT_EQ(warning(), 0x00FFFFu);
    EXPECT_EQ(fx().correspondenceInvalid, 1);
}

}  // namespace
}  // namespace kx
