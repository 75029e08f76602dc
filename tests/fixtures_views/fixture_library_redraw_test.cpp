#include <gtest/gtest.h>

#include <QDir>
#include <QListWidget>
#include <QTest>
#include <memory>

#include "base/edit_history.h"
#include "base/file_io.h"
#include "fixtures/fixture_files.h"
#include "fixtures/fixture_library_view.h"
#include "support/fake_platform.h"
#include "support/typing.h"
#include "support/view_snapshot.h"
#include "support/widget_lookup.h"

namespace kx {
namespace {

// Every kind of store and move of the Fixture Library editor, undo and redo, each followed by a
// comparison with a view built afresh over a copy of the editor (the same tables, fixture, pages
// and panels) and entered as the title bar enters it: a control left undrawn fails the comparison.
class FixtureLibraryRedrawTest : public test::FakePlatformTest {
  protected:
    void SetUp() override {
        patch(0, 3, 1, 10, {11, 12, 13});
        patch(0, 4, 1, 12, {40, 41});  // overlaps fixture 3
        patch(1, 5, 0, 1, std::vector<std::uint8_t>(24, 7));
        library.at(0, 3).name = "左帕灯";
        library.at(0, 3).functions[1] = 22;
        setGroupMember(groups, 2, 3, true);
        setGroupRemark(groups, 2, "舞台");
        writeCommonFixture("通用", "RGB帕灯", 3);
        writeCommonFixture("通用", "RGBW帕灯", 4);
        writeCommonFixture("Acme", "RGB Bar", 6);

        view = makeView(FixtureEditor(library, groups, names, paths),
                        [this] { view->Fun_窗体载入(); });
        view->editor().setHistory(&history, [this] { view->comeToFront(); });
        wheel.addTargets(kLibraryWheelBase,
                         [this](int d, int ch) { view->Fun_鼠标滚轮触发(d, ch); });
        view->resize(1280, 681);
        view->Fun_窗体载入();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    void patch(int page, int n, int port, int address, const std::vector<std::uint8_t>& values) {
        Fixture& f = library.at(page, n);
        f.port = static_cast<std::uint8_t>(port);
        f.startAddress = static_cast<std::int16_t>(address);
        f.channelCount = static_cast<std::uint8_t>(values.size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            f.testValues[i] = values[i];
            f.adjustValues[i] = static_cast<std::uint8_t>(values[i] + 100);
        }
    }

    void writeCommonFixture(const QString& maker, const QString& name, int channels) {
        FixtureLibrary source;
        source.at(0, 1).name = name;
        source.at(0, 1).channelCount = static_cast<std::uint8_t>(channels);
        QDir(paths.commonFixturesDir).mkpath(maker);
        ASSERT_TRUE(writeWholeFile(paths.commonFixturesDir + '/' + maker + '/' + name + ".K_1DK",
                                   singleFixtureBytes(source, 0, 1)));
    }

    std::unique_ptr<FixtureLibraryView> makeView(FixtureEditor editor,
                                                 std::function<void()> reenter) {
        return std::make_unique<FixtureLibraryView>(
            std::move(editor), FixtureLibraryView::Services{appearance,
                                                            pictures,
                                                            wheel,
                                                            {fake, fake},
                                                            [](QWidget* v) { v->show(); },
                                                            std::move(reenter)});
    }

    void expectSameAsFresh(const char* after) {
        auto fresh = makeView(FixtureEditor(view->editor()), [] {});
        fresh->resize(view->size());
        // Entering deletes the fixture clipboard and closes the custom-name box; the view under
        // test still has both.
        const auto clipboard = readWholeFile(paths.fixtureClipboard);
        fresh->Fun_窗体载入();
        if (clipboard) {
            ASSERT_TRUE(writeWholeFile(paths.fixtureClipboard, *clipboard));
        }
        if (view->editor().state().editedCode != 0)
            fresh->editor().pickCode(view->editor().state().editedCode);
        test::ViewSnapshot drawn = test::snapshotView(view.get());
        test::ViewSnapshot expected = test::snapshotView(fresh.get());
        // The keys tip comes and goes with a timer on every entry.
        for (auto* shot : {&drawn, &expected})
            std::erase_if(*shot,
                          [](const auto& kv) { return kv.first.startsWith("Label信息提示"); });
        EXPECT_EQ(test::viewDifferences(expected, drawn), "") << "after " << after;
    }

    template <typename W = QPushButton>
    W* find(const QString& name) {
        return test::named<W>(view.get(), name);
    }
    void click(const QString& name) { test::clickNamed(view.get(), name); }
    void clickFixture(int n) { QTest::mouseClick(view->fixtureButton(n), Qt::LeftButton); }
    void clickItem(const QString& list, int row) {
        auto* w = find<QListWidget>(list);
        ASSERT_LT(row, w->count()) << list.toStdString();
        QTest::mouseClick(w->viewport(), Qt::LeftButton, {},
                          w->visualItemRect(w->item(row)).center());
    }
    void typeNumber(const QString& combo, const QString& text) {
        test::typeAndEnter(find<QComboBox>(combo)->lineEdit(), text);
    }
    void choose(const QString& name, int index) {
        auto* c = find<QComboBox>(name);
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    void key(int n, Qt::Key k, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        view->fixtureButton(n)->setFocus();
        QTest::keyClick(view->fixtureButton(n), k, mods);
    }
    void undo(const char* what) {
        ASSERT_TRUE(history.undo().done) << what;
        expectSameAsFresh(what);
    }

    AppPaths paths = AppPaths::under(fake.programDir());
    FixtureLibrary library;
    FixtureGroups groups;
    ChannelFunctionNames names = defaultChannelFunctionNames();
    Appearance appearance;
    PictureStore pictures;
    WheelRouter wheel;
    EditHistory history;
    std::unique_ptr<FixtureLibraryView> view;
};

TEST_F(FixtureLibraryRedrawTest, TheGridDetailsAndFilesDrawWhatAFreshViewDraws) {
    expectSameAsFresh("entering");
    clickFixture(3);
    expectSameAsFresh("a fixture chosen");
    click("Command灯库页2");
    expectSameAsFresh("another page");
    clickFixture(5);
    click("Command灯库页1");
    expectSameAsFresh("the first page again");
    clickFixture(3);
    click("Check实际灯具显示方式");
    expectSameAsFresh("the address display");
    click("Check只显示当前灯具");
    expectSameAsFresh("only the current fixture");

    test::retype(find<QLineEdit>("Text灯具名称"), "前帕灯");
    expectSameAsFresh("a typed name");
    choose("Combo灯具地址", 30);
    expectSameAsFresh("a chosen address");
    typeNumber("Combo灯具地址", "11");
    expectSameAsFresh("a typed address");
    typeNumber("Combo灯具地址", "600");
    expectSameAsFresh("a refused address");
    click("Command灯具地址+20");
    expectSameAsFresh("+20");
    click("Command灯具地址-20");
    expectSameAsFresh("-20");
    choose("Combo灯具通道数", 5);
    expectSameAsFresh("a chosen channel count");
    typeNumber("Combo灯具通道数", "2");
    expectSameAsFresh("a typed channel count");
    typeNumber("Combo灯具通道数", "x");
    expectSameAsFresh("a refused channel count");
    choose("Combo_Dmx_端口", 4);
    expectSameAsFresh("a port");

    key(3, Qt::Key_C);
    clickFixture(6);
    key(6, Qt::Key_V);
    expectSameAsFresh("a pasted fixture");
    fake.yesNoAnswers = {true};
    key(6, Qt::Key_X);
    expectSameAsFresh("a cut fixture");
    clickFixture(4);
    fake.yesNoAnswers = {true};
    key(4, Qt::Key_Backspace, Qt::NoModifier);
    expectSameAsFresh("a deleted fixture");
    const QString single = fake.dir.filePath("one.K_1DK");
    ASSERT_TRUE(writeWholeFile(single, singleFixtureBytes(library, 1, 5)));
    fake.dialogAnswers = {single};
    click("Command读取单个灯库");
    expectSameAsFresh("an imported fixture");
    FixtureLibrary other;
    other.at(0, 9).name = "追光";
    other.at(0, 9).startAddress = 100;
    other.at(0, 9).channelCount = 2;
    const QString all = fake.dir.filePath("all.K_ADK");
    ASSERT_TRUE(writeWholeFile(all, allFixturesBytes(other)));
    fake.dialogAnswers = {all};
    click("Command导入所有灯库");
    expectSameAsFresh("an imported library");

    undo("the library import taken back");
    undo("the fixture import taken back");
    undo("the delete taken back");
    ASSERT_TRUE(history.redo().done);
    expectSameAsFresh("the delete made again");

    // A Show File loaded under the view.
    library.at(0, 4).name = "新灯";
    library.at(0, 4).startAddress = 300;
    names[22] = "蓝";
    view->editor().tablesReplaced();
    expectSameAsFresh("replaced tables");
}

TEST_F(FixtureLibraryRedrawTest, TheChannelPanelAndPickerDrawWhatAFreshViewDraws) {
    clickFixture(3);
    FaderView* fader = view->channels().fader(2);
    QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(10, 2));
    QTest::mouseRelease(fader, Qt::LeftButton, {}, QPoint(10, 2));
    expectSameAsFresh("a fader");
    wheel.stepTarget(0);
    expectSameAsFresh("the wheel");
    test::typeAndEnter(view->channels().valueBox(3), "200");
    expectSameAsFresh("a typed value");
    test::typeAndEnter(view->channels().valueBox(3), "abc");
    expectSameAsFresh("a refused value");
    QTest::mouseClick(view->channels().channelLabel(1), Qt::LeftButton);
    expectSameAsFresh("the wheel on another channel");
    click("Command变2552");
    expectSameAsFresh("all 255");
    click("Command变2551");
    expectSameAsFresh("all 0");
    click("Option数值选择2");
    expectSameAsFresh("the adjust values");
    click("Option数值选择1");

    click("Command灯库页2");
    clickFixture(5);
    expectSameAsFresh("a fixture with channel pages");
    click("Command通道显示2");
    expectSameAsFresh("the second channel page");
    click("Command通道显示1");
    click("Command灯库页1");
    clickFixture(3);

    QTest::mouseClick(view->channels().functionBox(2), Qt::LeftButton);
    expectSameAsFresh("the picker opened");
    click("Command通道定义下一页");
    expectSameAsFresh("the picker's second page");
    click("Command通道定义下一页");
    QTest::mouseClick(view->channels().codeButton(40), Qt::LeftButton);
    expectSameAsFresh("a picked code");
    QTest::mouseClick(view->channels().functionBox(3), Qt::LeftButton);
    QTest::mouseClick(view->channels().functionBox(3), Qt::LeftButton);
    expectSameAsFresh("the picker closed by its channel");
    QTest::mouseClick(view->channels().functionBox(1), Qt::LeftButton);
    QTest::mouseClick(view->channels().editCustomNames(), Qt::LeftButton);
    expectSameAsFresh("renaming on");
    QTest::mouseClick(view->channels().codeButton(40), Qt::LeftButton);
    expectSameAsFresh("a locked code to rename");
    QTest::mouseClick(view->channels().codeButton(100), Qt::LeftButton);
    expectSameAsFresh("a custom code to rename");
    test::retype(view->channels().customNameBox(), "雾机");
    expectSameAsFresh("a renamed code");
    undo("the rename taken back");
    click("Command通道定义隐藏");
    expectSameAsFresh("the picker hidden");

    undo("the picked code taken back");
    undo("all 0 taken back");
    ASSERT_TRUE(history.redo().done);
    expectSameAsFresh("all 0 made again");
}

TEST_F(FixtureLibraryRedrawTest, TheGroupAndCommonFixturePanelsDrawWhatAFreshViewDraws) {
    click("Command灯具分组");
    expectSameAsFresh("the group panel");
    click("Command灯具分组2");
    expectSameAsFresh("a group");
    clickFixture(4);
    expectSameAsFresh("a member added");
    clickFixture(3);
    expectSameAsFresh("a member taken out");
    test::retype(find<QLineEdit>("Text灯具分组备注"), "前排");
    expectSameAsFresh("a group remark");
    click("Command灯具分组清除");
    expectSameAsFresh("a cleared group");
    undo("the clear taken back");
    click("Command灯具分组隐藏");
    expectSameAsFresh("the group panel hidden");
    undo("the remark taken back with the panel");

    click("Command常用灯具");
    expectSameAsFresh("the Common Fixtures panel over the group panel");
    clickItem("List灯具厂家", 1);
    expectSameAsFresh("a manufacturer");
    clickItem("List灯具名称", 1);
    expectSameAsFresh("a Common Fixture");
    clickFixture(8);
    click("Command导入选择灯具");
    expectSameAsFresh("a Common Fixture imported");
    test::retype(find<QLineEdit>("Text常用灯具搜索"), "rgb");
    expectSameAsFresh("a search");
    clickItem("List灯具名称", 0);
    expectSameAsFresh("a found fixture");
    test::retype(find<QLineEdit>("Text常用灯具搜索"), "rgbw");
    expectSameAsFresh("a narrower search");
    const QString qxf = fake.dir.filePath("smoke.qxf");
    ASSERT_TRUE(writeWholeFile(qxf,
                               "<FixtureDefinition><Manufacturer>Bolt</Manufacturer>"
                               "<Model>Smoke 900</Model><Type>Smoke</Type>"
                               "<Channel Name=\"Output\"><Group Byte=\"0\">Effect</Group></Channel>"
                               "<Mode Name=\"1ch\"><Channel Number=\"0\">Output</Channel></Mode>"
                               "</FixtureDefinition>"));
    fake.dialogAnswers = {qxf};
    click("Command导入定义文件");
    expectSameAsFresh("an imported definition");
    click("Command常用灯具隐藏");
    expectSameAsFresh("the Common Fixtures panel hidden");
    undo("the Common Fixture import taken back");
}

// Reopening the panel starts without a choice: what is imported is what the lists show chosen.
TEST_F(FixtureLibraryRedrawTest, AChoiceMadeBeforeThePanelClosedIsNotImported) {
    click("Command常用灯具");
    clickItem("List灯具厂家", 1);
    clickItem("List灯具名称", 0);
    click("Command常用灯具隐藏");
    click("Command常用灯具");
    clickFixture(9);
    click("Command导入选择灯具");
    EXPECT_EQ(fake.messages, QStringList{"未选择厂家！"});
    EXPECT_FALSE(isPresent(library, 0, 9));
    EXPECT_TRUE(find<QListWidget>("List灯具厂家")->selectedItems().isEmpty());
}

// The details follow the page: an edit goes to the fixture they show.
TEST_F(FixtureLibraryRedrawTest, ChoosingAPageShowsItsFixtureAndEditsGoThere) {
    clickFixture(5);
    click("Command灯库页2");
    EXPECT_EQ(find<QComboBox>("Combo灯具通道数")->currentText(), "24");
    typeNumber("Combo灯具地址", "40");
    EXPECT_EQ(library.at(1, 5).startAddress, 40);
    EXPECT_EQ(library.at(0, 5).startAddress, 0);
}

}  // namespace
}  // namespace kx
