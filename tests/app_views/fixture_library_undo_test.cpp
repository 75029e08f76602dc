#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "base/file_io.h"
#include "fixtures/fixture_files.h"
#include "library_in_shell.h"

namespace kx {
namespace {

// Undo and redo in the Fixture Library editor as the program plugs it in: the keys and the two
// buttons on the real widgets.
class FixtureLibraryUndoTest : public test::LibraryInShell {
  protected:
    void SetUp() override {
        LibraryInShell::SetUp();
        patch(0, 3, 1, 10, {11, 12, 13});
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::mouseClick(shell->titleBar().functionButton(3), Qt::LeftButton);
        ASSERT_EQ(window.currentView(), view);
        QTest::mouseClick(view->fixtureButton(3), Qt::LeftButton);
    }

    template <class W = QPushButton>
    W* control(const QString& name) {
        auto* w = view->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void click(const QString& name) {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }
    void ctrl(Qt::Key key) { QTest::keyClick(view->fixtureButton(3), key, Qt::ControlModifier); }
};

TEST_F(FixtureLibraryUndoTest, All255IsTakenBackAndMadeAgain) {
    click("Command变2552");
    ASSERT_EQ(control<QLineEdit>("Text数值2")->text(), "255");
    EXPECT_EQ(control("Command撤销")->toolTip(), "撤销：全255");

    ctrl(Qt::Key_Z);
    const Fixture& f = show.library.at(0, 3);
    EXPECT_EQ(f.testValues[0], 11);
    EXPECT_EQ(f.testValues[2], 13);
    EXPECT_EQ(f.testValues[3], 0);
    EXPECT_EQ(control<QLineEdit>("Text数值2")->text(), "12");
    EXPECT_EQ(view->channels().fader(1)->value(), 11);
    EXPECT_EQ(control("Command重做")->toolTip(), "重做：全255");

    ctrl(Qt::Key_Y);
    EXPECT_EQ(f.testValues[0], 255);
    EXPECT_EQ(f.testValues[31], 255);
    EXPECT_EQ(control<QLineEdit>("Text数值1")->text(), "255");
    // The buttons do the same as the keys.
    click("Command撤销");
    EXPECT_EQ(f.testValues[0], 11);
    click("Command重做");
    EXPECT_EQ(f.testValues[0], 255);
}

TEST_F(FixtureLibraryUndoTest, AnAdjustValueComesBackWithItsValueSetShown) {
    click("Option数值选择2");
    QLineEdit* value = control<QLineEdit>("Text数值1");
    value->setFocus(Qt::MouseFocusReason);
    value->selectAll();
    QTest::keyClicks(value, "7");
    QTest::keyClick(value, Qt::Key_Return);
    ASSERT_EQ(show.library.at(0, 3).adjustValues[0], 7);
    click("Option数值选择1");
    ASSERT_EQ(value->text(), "11");

    ctrl(Qt::Key_Z);
    EXPECT_EQ(show.library.at(0, 3).adjustValues[0], 111);
    EXPECT_EQ(view->editor().state().preview.valueSet, 1);
    EXPECT_TRUE(control<QRadioButton>("Option数值选择2")->isChecked());
    EXPECT_FALSE(control("Command变2552")->isVisible());
    EXPECT_EQ(value->text(), "111");
}

TEST_F(FixtureLibraryUndoTest, ADeleteAndAnImportComeBackOnTheirFixture) {
    answers.yesNo = {true};
    click("Command删除单个灯库");
    ASSERT_EQ(show.library.at(0, 3).channelCount, 0);
    // Undone from another page and fixture: the deleted one is current again and shown.
    click("Command灯库页2");
    QTest::mouseClick(view->fixtureButton(40), Qt::LeftButton);
    ctrl(Qt::Key_Z);
    EXPECT_EQ(show.library.at(0, 3).channelCount, 3);
    EXPECT_EQ(view->editor().state().preview.currentPage, 0);
    EXPECT_EQ(view->editor().state().preview.currentFixture, 3);
    EXPECT_EQ(control<QComboBox>("Combo灯具通道数")->currentText(), "3");
    EXPECT_EQ(control<QComboBox>("Combo灯具地址")->currentText(), "10");

    // A single fixture imported over fixture 3, undone.
    FixtureLibrary other;
    other.at(0, 1).name = QStringLiteral("导入灯");
    other.at(0, 1).channelCount = 5;
    const QString file = dir.filePath("one.K_1DK");
    ASSERT_TRUE(writeWholeFile(file, singleFixtureBytes(other, 0, 1)));
    answers.paths = {file};
    click("Command读取单个灯库");
    ASSERT_EQ(show.library.at(0, 3).name, "导入灯");
    EXPECT_EQ(control("Command撤销")->toolTip(), "撤销：灯具 3 导入");
    ctrl(Qt::Key_Z);
    EXPECT_EQ(show.library.at(0, 3).name, "");
    EXPECT_EQ(show.library.at(0, 3).channelCount, 3);
    EXPECT_EQ(view->fixtureButton(3)->toolTip(), "");
}

TEST_F(FixtureLibraryUndoTest, AGroupEditUndoneAfterLeavingReopensTheViewAndPanel) {
    click("Command灯具分组");
    click("Command灯具分组2");
    QTest::mouseClick(view->fixtureButton(3), Qt::LeftButton);
    ASSERT_TRUE(show.groups.isMember(2, 3));
    // Entering the view again with the panel left open keeps the membership as it was.
    QTest::mouseClick(shell->titleBar().functionButton(3), Qt::LeftButton);
    EXPECT_TRUE(show.groups.isMember(2, 3));
    click("Command灯具分组隐藏");

    QWidget elsewhere;
    window.showView(&elsewhere);
    ASSERT_TRUE(view->isHidden());
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(show.groups.isMember(2, 3));
    EXPECT_EQ(window.currentView(), view);
    EXPECT_EQ(link->live().view(), 5);
    EXPECT_TRUE(control<QGroupBox>("Frame灯具分组")->isVisible());
    EXPECT_TRUE(view->editor().state().preview.groupPanelOpen);
    ctrl(Qt::Key_Y);
    EXPECT_TRUE(show.groups.isMember(2, 3));
}

TEST_F(FixtureLibraryUndoTest, ARenameUndoneShowsTheOldNameOnThePicker) {
    QTest::mouseClick(view->channels().functionBox(1), Qt::LeftButton);
    QTest::mouseClick(view->channels().editCustomNames(), Qt::LeftButton);
    QTest::mouseClick(view->channels().codeButton(100), Qt::LeftButton);
    QLineEdit* box = view->channels().customNameBox();
    box->clear();
    QTest::keyClicks(box, "ab");
    ASSERT_EQ(show.functionNames[100], "ab");
    EXPECT_EQ(control("Command撤销")->toolTip(), "撤销：通道定义 100 名称");
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(show.functionNames[100], "自定义11");
    EXPECT_EQ(view->channels().codeButton(100)->text(), "自定义11");
    EXPECT_EQ(box->text(), "自定义11");
}

}  // namespace
}  // namespace kx
