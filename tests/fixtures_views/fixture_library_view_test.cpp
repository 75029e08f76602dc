#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QTest>

#include "base/file_io.h"
#include "base/settings.h"
#include "fixtures/fixture_files.h"
#include "fixtures/fixture_library_view.h"
#include "shell/appearance_view.h"
#include "support/fake_platform.h"
#include "support/typing.h"
#include "support/widget_lookup.h"

namespace kx {
namespace {

// The editor's view, clicked and typed into as the technician does.
class FixtureLibraryViewTest : public test::FakePlatformTest {
  protected:
    void SetUp() override {
        view = std::make_unique<FixtureLibraryView>(
            library, groups, names, paths,
            FixtureLibraryView::Services{appearance,
                                         pictures,
                                         wheel,
                                         {fake, fake},
                                         [](QWidget* v) { v->show(); },
                                         [this] {
                                             ++reentered;
                                             view->Fun_窗体载入();
                                         }});
        view->resize(1280, 681);
        wheel.addTargets(kLibraryWheelBase,
                         [this](int d, int ch) { view->Fun_鼠标滚轮触发(d, ch); });
        view->Fun_窗体载入();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    template <typename T>
    T* find(const QString& name) {
        return test::named<T>(view.get(), name);
    }
    void click(const QString& name) { test::clickNamed(view.get(), name); }
    void clickFixture(int n) { QTest::mouseClick(view->fixtureButton(n), Qt::LeftButton); }
    static void retype(QLineEdit* box, const QString& text) { test::retype(box, text); }
    // A typed number is taken with Enter.
    void enter(QLineEdit* box, const QString& text) {
        retype(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void retypeCombo(const QString& name, const QString& text) {
        enter(find<QComboBox>(name)->lineEdit(), text);
    }
    void choosePort(int port) {
        auto* combo = find<QComboBox>("Combo_Dmx_端口");
        combo->setCurrentIndex(port);
        emit combo->activated(port);
    }
    Bgr colourOf(QAbstractButton* b) { return buttonBackColour(b).value_or(0xDEAD); }

    AppPaths paths = AppPaths::under(fake.programDir());
    FixtureLibrary library;
    FixtureGroups groups;
    ChannelFunctionNames names = defaultChannelFunctionNames();
    Appearance appearance;
    PictureStore pictures;
    WheelRouter wheel;
    int reentered = 0;
    std::unique_ptr<FixtureLibraryView> view;
};

TEST_F(FixtureLibraryViewTest, PatchingAFixtureShowsItOnItsButton) {
    clickFixture(5);
    EXPECT_EQ(find<QGroupBox>("Frame灯库灯具")->title(), "页 1  灯具 [5]");
    retype(find<QLineEdit>("Text灯具名称"), "Par5");
    EXPECT_EQ(view->fixtureButton(5)->text(), "Par5");
    choosePort(1);
    retypeCombo("Combo灯具地址", "12");
    retypeCombo("Combo灯具通道数", "6");
    const Fixture& f = library.at(0, 5);
    EXPECT_EQ(f.port, 1);
    EXPECT_EQ(f.startAddress, 12);
    EXPECT_EQ(f.channelCount, 6);
    EXPECT_EQ(colourOf(view->fixtureButton(5)), 0xC0E0FFu);
    EXPECT_EQ(colourOf(view->fixtureButton(6)), 0x404040u);
    EXPECT_EQ(buttonTextColour(view->fixtureButton(5)), 0xFF0000u);

    click("Check实际灯具显示方式");
    EXPECT_EQ(view->fixtureButton(5)->text(), "B - 12");
    EXPECT_EQ(view->fixtureButton(6)->text(), "");
    // Six channel columns, no channel pages.
    EXPECT_TRUE(find<QLineEdit>("Text数值6")->isVisible());
    EXPECT_FALSE(find<QLineEdit>("Text数值7")->isVisible());
    EXPECT_FALSE(find<QPushButton>("Command通道显示1")->isVisible());

    // An address the rules refuse is not stored, and the box shows the stored one again.
    retypeCombo("Combo灯具地址", "600");
    EXPECT_EQ(f.startAddress, 12);
    EXPECT_EQ(find<QComboBox>("Combo灯具地址")->currentText(), "12");
    retypeCombo("Combo灯具地址", "0");
    EXPECT_FALSE(isPatched(f));
    EXPECT_EQ(colourOf(view->fixtureButton(5)), 0x404040u);
}

TEST_F(FixtureLibraryViewTest, AddressStepsKeepInsideTheUniverse) {
    clickFixture(1);
    auto* address = find<QComboBox>("Combo灯具地址");
    const std::pair<int, int> cases[] = {{492, 512}, {493, 493}};
    for (auto [from, to] : cases) {
        retypeCombo("Combo灯具地址", QString::number(from));
        click("Command灯具地址+20");
        EXPECT_EQ(library.at(0, 1).startAddress, to);
        EXPECT_EQ(address->currentText(), QString::number(to));
    }
    const std::pair<int, int> down[] = {{21, 1}, {20, 20}};
    for (auto [from, to] : down) {
        retypeCombo("Combo灯具地址", QString::number(from));
        click("Command灯具地址-20");
        EXPECT_EQ(library.at(0, 1).startAddress, to);
    }
}

TEST_F(FixtureLibraryViewTest, KeysOnAFixtureButtonCopyPasteCutAndDelete) {
    clickFixture(1);
    retype(find<QLineEdit>("Text灯具名称"), "Spot");
    retypeCombo("Combo灯具地址", "30");
    retypeCombo("Combo灯具通道数", "4");
    QPushButton* one = view->fixtureButton(1);
    one->setFocus();
    QTest::keyClick(one, Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(fileExists(paths.fixtureClipboard));
    clickFixture(2);
    QTest::keyClick(view->fixtureButton(2), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(library.at(0, 2), library.at(0, 1));
    EXPECT_EQ(view->fixtureButton(2)->text(), "Spot");

    // Leaving and entering again forgets the copy: paste does nothing.
    view->Fun_窗体载入();
    clickFixture(3);
    QTest::keyClick(view->fixtureButton(3), Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(isPresent(library, 0, 3));
    EXPECT_TRUE(fake.messages.isEmpty());

    clickFixture(2);
    fake.yesNoAnswers = {true};
    QTest::keyClick(view->fixtureButton(2), Qt::Key_Backspace);
    EXPECT_EQ(fake.questions.last(), kAskDeleteFixture);
    EXPECT_FALSE(isPresent(library, 0, 2));
    EXPECT_EQ(view->fixtureButton(2)->text(), "");
    clickFixture(1);
    fake.yesNoAnswers = {true};
    QTest::keyClick(view->fixtureButton(1), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(fake.questions.last(), kAskCutFixture);
    EXPECT_FALSE(isPresent(library, 0, 1));
    ASSERT_TRUE(fileExists(paths.fixtureClipboard));
}

TEST_F(FixtureLibraryViewTest, RightPressChoosesTheFixtureAndOpensTheMenu) {
    QTest::mousePress(view->fixtureButton(8), Qt::RightButton);
    EXPECT_EQ(view->editor().state().preview.currentFixture, 8);
    EXPECT_TRUE(view->fixtureButton(8)->hasFocus());
    QTRY_VERIFY(view->fixtureMenu()->isVisible());
    QStringList entries;
    for (QAction* a : view->fixtureMenu()->actions())
        entries << (a->isSeparator() ? "|" : a->text());
    EXPECT_EQ(entries.join(""), "复制|剪贴|粘贴|删除|隐藏");
    view->fixtureMenu()->close();
}

TEST_F(FixtureLibraryViewTest, GroupPanelTogglesMembersOnBothPages) {
    clickFixture(7);
    retypeCombo("Combo灯具地址", "1");
    retypeCombo("Combo灯具通道数", "3");
    click("Command灯具分组");
    ASSERT_TRUE(find<QGroupBox>("Frame灯具分组")->isVisible());
    EXPECT_TRUE(view->editor().state().preview.groupPanelOpen);
    click("Command灯具分组3");
    EXPECT_EQ(colourOf(view->groupButton(3)), 0x8080FFu);
    click("Command灯库页2");
    EXPECT_EQ(colourOf(view->pageButton(1)), 0xC0FFC0u);
    EXPECT_EQ(colourOf(view->pageButton(0)), 0xC0C0C0u);
    clickFixture(7);
    EXPECT_TRUE(groups.isMember(3, 107));
    EXPECT_EQ(colourOf(view->fixtureButton(7)), 0x808080u);  // member, not patched
    clickFixture(7);
    EXPECT_FALSE(groups.isMember(3, 107));
    EXPECT_EQ(colourOf(view->fixtureButton(7)), 0x404040u);

    click("Command灯库页1");
    clickFixture(7);
    EXPECT_EQ(colourOf(view->fixtureButton(7)), 0x8080FFu);  // member, patched
    retype(find<QLineEdit>("Text灯具分组备注"), "前排");
    EXPECT_EQ(view->groupButton(3)->text(), "前排");
    click("Command灯具分组清除");
    EXPECT_FALSE(groups.isMember(3, 7));
    EXPECT_EQ(colourOf(view->fixtureButton(7)), 0xC0E0FFu);

    clickFixture(7);
    click("Command灯具分组隐藏");
    EXPECT_FALSE(find<QGroupBox>("Frame灯具分组")->isVisible());
    EXPECT_FALSE(view->editor().state().preview.groupPanelOpen);
    EXPECT_EQ(reentered, 1);
    EXPECT_EQ(colourOf(view->fixtureButton(7)), 0xC0E0FFu);
}

TEST_F(FixtureLibraryViewTest, CommonFixturesPanelListsAndImports) {
    FixtureLibrary source;
    source.at(0, 1).name = "RGBW帕灯";
    source.at(0, 1).channelCount = 4;
    QDir(paths.commonFixturesDir).mkpath("通用");
    ASSERT_TRUE(writeWholeFile(paths.commonFixturesDir + "/通用/RGBW帕灯.K_1DK",
                               singleFixtureBytes(source, 0, 1)));
    clickFixture(4);
    click("Command常用灯具");
    ASSERT_TRUE(find<QGroupBox>("Frame常用灯具")->isVisible());
    click("Command导入选择灯具");
    EXPECT_EQ(fake.messages.last(), "未选择厂家！");
    auto* makers = find<QListWidget>("List灯具厂家");
    ASSERT_EQ(makers->count(), 1);
    QTest::mouseClick(makers->viewport(), Qt::LeftButton, {},
                      makers->visualItemRect(makers->item(0)).center());
    auto* types = find<QListWidget>("List灯具名称");
    ASSERT_EQ(types->count(), 1);
    click("Command导入选择灯具");
    EXPECT_EQ(fake.messages.last(), "未选择灯具！");
    QTest::mouseClick(types->viewport(), Qt::LeftButton, {},
                      types->visualItemRect(types->item(0)).center());
    click("Command导入选择灯具");
    EXPECT_EQ(library.at(0, 4).name, "RGBW帕灯");
    EXPECT_EQ(view->fixtureButton(4)->text(), "RGBW帕灯");
    EXPECT_EQ(find<QComboBox>("Combo灯具通道数")->currentText(), "4");
    click("Command常用灯具隐藏");
    EXPECT_FALSE(find<QGroupBox>("Frame常用灯具")->isVisible());
}

TEST_F(FixtureLibraryViewTest, ImportingADefinitionFileListsItsModesAndNamesItsFunctions) {
    const QString qxf = fake.dir.path() + "/smoke.qxf";
    ASSERT_TRUE(writeWholeFile(qxf,
                               "<FixtureDefinition><Manufacturer>Acme</Manufacturer>"
                               "<Model>Smoke 900</Model><Type>Smoke</Type>"
                               "<Channel Name=\"Output\"><Group Byte=\"0\">Effect</Group></Channel>"
                               "<Mode Name=\"1ch\"><Channel Number=\"0\">Output</Channel></Mode>"
                               "</FixtureDefinition>"));
    click("Command常用灯具");
    fake.dialogAnswers.push_back(qxf);
    click("Command导入定义文件");
    ASSERT_EQ(fake.dialogs.size(), 1u);
    EXPECT_EQ(fake.dialogs[0].pattern, "*.json *.qxf");
    EXPECT_EQ(fake.messages.last(), "已添加 1 个模式到 常用灯具/Acme");
    auto* makers = find<QListWidget>("List灯具厂家");
    ASSERT_EQ(makers->count(), 1);
    QTest::mouseClick(makers->viewport(), Qt::LeftButton, {},
                      makers->visualItemRect(makers->item(0)).center());
    auto* types = find<QListWidget>("List灯具名称");
    ASSERT_EQ(types->count(), 1);
    EXPECT_EQ(types->item(0)->text(), "Smoke 900 - 1ch  [1通道]");
    QTest::mouseClick(types->viewport(), Qt::LeftButton, {},
                      types->visualItemRect(types->item(0)).center());
    click("Command导入选择灯具");
    // The custom function is named in the table the channel panel shows and in the file.
    const int code = library.at(0, 1).functions[0];
    EXPECT_EQ(code, 150);
    EXPECT_EQ(names[code], "效果");
    EXPECT_EQ(loadChannelFunctionNames(paths.customFunctionNames)[code], "效果");
    // A cancelled choice says nothing.
    click("Command导入定义文件");
    EXPECT_EQ(fake.messages.size(), 1);
}

TEST_F(FixtureLibraryViewTest, ChannelPagesShowTheChannelsAboveTwenty) {
    clickFixture(1);
    retypeCombo("Combo灯具地址", "1");
    retypeCombo("Combo灯具通道数", "24");
    EXPECT_TRUE(find<QPushButton>("Command通道显示2")->isVisible());
    EXPECT_TRUE(find<QLineEdit>("Text数值20")->isVisible());
    EXPECT_FALSE(find<QLineEdit>("Text数值21")->isVisible());
    click("Command通道显示2");
    for (int ch = 1; ch <= 32; ++ch) {
        EXPECT_EQ(find<QLineEdit>("Text数值" + QString::number(ch))->isVisible(),
                  ch >= 21 && ch <= 24)
            << ch;
    }
    EXPECT_EQ(colourOf(find<QPushButton>("Command通道显示2")), 0x6010DFu);
    retypeCombo("Combo灯具通道数", "20");
    EXPECT_FALSE(find<QPushButton>("Command通道显示1")->isVisible());
    EXPECT_TRUE(find<QLineEdit>("Text数值1")->isVisible());
}

TEST_F(FixtureLibraryViewTest, FadersWheelAndValueSets) {
    clickFixture(1);
    retypeCombo("Combo灯具地址", "1");
    retypeCombo("Combo灯具通道数", "3");
    FaderView* fader = view->channels().fader(2);
    // A press at the very top jumps the knob there: 255, and the channel holds the wheel.
    QTest::mouseClick(fader, Qt::LeftButton, {}, QPoint(10, 1));
    EXPECT_EQ(library.at(0, 1).testValues[1], 255);
    EXPECT_EQ(find<QLineEdit>("Text数值2")->text(), "255");
    EXPECT_EQ(wheel.wheelTarget, kLibraryWheelBase + 2);
    EXPECT_TRUE(find<QLineEdit>("Text数值2")->hasFocus());
    wheel.stepTarget(1);
    EXPECT_EQ(library.at(0, 1).testValues[1], 255);
    wheel.stepTarget(0);
    EXPECT_EQ(library.at(0, 1).testValues[1], 254);
    EXPECT_EQ(find<QLineEdit>("Text数值2")->text(), "254");

    enter(find<QLineEdit>("Text数值3"), "300");
    EXPECT_EQ(library.at(0, 1).testValues[2], 0);
    EXPECT_EQ(find<QLineEdit>("Text数值3")->text(), "0");
    EXPECT_EQ(wheel.wheelTarget, kLibraryWheelBase + 3);

    click("Command变2552");
    EXPECT_EQ(library.at(0, 1).testValues[0], 255);
    click("Option数值选择2");
    EXPECT_FALSE(find<QPushButton>("Command变2551")->isVisible());
    EXPECT_EQ(find<QLabel>("Label数值选择")->text(), "调试值");
    EXPECT_EQ(find<QLineEdit>("Text数值1")->text(), "0");  // the adjust values are shown
    enter(find<QLineEdit>("Text数值1"), "77");
    EXPECT_EQ(library.at(0, 1).adjustValues[0], 77);
    EXPECT_EQ(library.at(0, 1).testValues[0], 255);
    click("Option数值选择1");
    EXPECT_TRUE(find<QPushButton>("Command变2551")->isVisible());
    EXPECT_EQ(find<QLineEdit>("Text数值1")->text(), "255");
}

TEST_F(FixtureLibraryViewTest, PickerAssignsCodesAndRenamesCustomOnes) {
    clickFixture(1);
    retypeCombo("Combo灯具地址", "1");
    retypeCombo("Combo灯具通道数", "4");
    library.at(0, 1).functions[1] = 17;
    clickFixture(1);
    EXPECT_EQ(find<QLineEdit>("Text通道定义2")->text(), "T=17");
    auto* picker = find<QGroupBox>("Frame通道定义");
    QTest::mouseClick(find<QLineEdit>("Text通道定义3"), Qt::LeftButton);
    EXPECT_TRUE(picker->isVisible());
    QTest::mouseClick(find<QLineEdit>("Text通道定义3"), Qt::LeftButton);
    EXPECT_FALSE(picker->isVisible());
    QTest::mouseClick(find<QLineEdit>("Text通道定义3"), Qt::LeftButton);
    QTest::mouseClick(find<QLineEdit>("Text通道定义4"), Qt::LeftButton);
    EXPECT_TRUE(picker->isVisible());

    QPushButton* code22 = view->channels().codeButton(22);
    EXPECT_EQ(code22->objectName(), "Command通道定义23");
    EXPECT_EQ(code22->text(), "B");
    QTest::mouseClick(code22, Qt::LeftButton);
    EXPECT_EQ(library.at(0, 1).functions[3], 22);
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(find<QLineEdit>("Text通道定义4")->text(), "B");
    EXPECT_EQ(wheel.wheelTarget, kLibraryWheelBase + 4);

    // The second page holds codes 110-149.
    QTest::mouseClick(find<QLineEdit>("Text通道定义1"), Qt::LeftButton);
    click("Command通道定义下一页");
    EXPECT_FALSE(view->channels().codeButton(95)->isVisible());
    EXPECT_TRUE(view->channels().codeButton(120)->isVisible());
    EXPECT_EQ(find<QPushButton>("Command通道定义下一页")->text(), "上一页");
    click("Command通道定义下一页");

    click("Check修改自定义");
    QLineEdit* custom = find<QLineEdit>("Text通道定义修改");
    EXPECT_TRUE(custom->isVisible());
    QTest::mouseClick(view->channels().codeButton(40), Qt::LeftButton);
    EXPECT_EQ(custom->text(), "色盘流水");
    EXPECT_TRUE(custom->isReadOnly());
    EXPECT_EQ(library.at(0, 1).functions[0], 0);  // renaming mode assigns nothing
    QTest::mouseClick(view->channels().codeButton(95), Qt::LeftButton);
    EXPECT_FALSE(custom->isReadOnly());
    retype(custom, "烟机");
    EXPECT_EQ(view->channels().codeButton(95)->text(), "烟机");
    EXPECT_EQ(names[95], "烟机");
    QTRY_COMPARE(Fun_IniRead(paths.customFunctionNames, "T95"), QString("烟机"));

    click("Command通道定义隐藏");
    EXPECT_FALSE(picker->isVisible());
    EXPECT_FALSE(find<QCheckBox>("Check修改自定义")->isChecked());
}

TEST_F(FixtureLibraryViewTest, ShowOnlyCurrentIsWrittenAndReadBack) {
    click("Check只显示当前灯具");
    EXPECT_TRUE(view->editor().state().preview.showOnlyCurrent);
    EXPECT_EQ(Fun_IniRead(paths.workSet, "只显示当前灯具"), "1");
    // A new run reads it on its first entry.
    FixtureLibraryView next(library, groups, names, paths,
                            {appearance, pictures, wheel, {fake, fake}, [](QWidget*) {}, [] {}});
    next.Fun_窗体载入();
    EXPECT_TRUE(next.findChild<QCheckBox*>("Check只显示当前灯具")->isChecked());
}

}  // namespace
}  // namespace kx
