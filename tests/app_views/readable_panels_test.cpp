#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

#include "library_in_shell.h"
#include "show_editors_fixture.h"

namespace kx {
namespace {

// Where a panel over an editor opens, and that it hides what lies behind it: each is measured
// against the controls the technician needs while it is open.
void expectClear(QWidget* panel, QWidget* view, const QStringList& names) {
    const QRect area(panel->mapTo(view, QPoint(0, 0)), panel->size());
    EXPECT_TRUE(QRect(QPoint(0, 0), view->size()).contains(area))
        << panel->objectName().toStdString();
    for (const QString& name : names) {
        auto* w = view->findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr) << name.toStdString();
        const QRect r(w->mapTo(view, QPoint(0, 0)), w->size());
        EXPECT_FALSE(area.intersects(r))
            << panel->objectName().toStdString() << " covers " << name.toStdString();
    }
}

void expectOpaque(QWidget* panel) {
    EXPECT_TRUE(panel->autoFillBackground()) << panel->objectName().toStdString();
    EXPECT_EQ(panel->palette().brush(QPalette::Window).style(), Qt::SolidPattern);
}

// The Material editor reached from the scenes with the pars of a small room patched.
class MaterialPanelsTest : public test::EditorChainFixture {
  protected:
    void SetUp() override {
        EditorChainFixture::SetUp();
        show.functionNames = defaultChannelFunctionNames();
        for (int n = 1; n <= 4; ++n) {
            Fixture& f = show.library.at(0, n);
            f.name = "RGB帕灯";
            f.startAddress = static_cast<std::int16_t>(1 + (n - 1) * 3);
            f.channelCount = 3;
            f.functions = {20, 21, 22};
        }
        openSlot(2, 3);
        view = materials;
        materials->editor().typeFixtureCount("4");
        materials->editor().typeChannelCount("3");
        view->Fun_所有控件数据刷新();
    }
    void click(const QString& name) { EditorChainFixture::click(in(view, name)); }

    MaterialEditorView* view = nullptr;
};

TEST_F(MaterialPanelsTest, TheWindowSaysWhatItEditsAndThatItsChannelsAreEmpty) {
    EXPECT_EQ(view->positionCaption()->text(), "效果 2  模块 1  素材 3");
    EXPECT_TRUE(view->positionCaption()->isVisible());
    // The system's captions keep their text.
    EXPECT_EQ(in<QLabel>(view, "Label效果")->text(), "效果:");
    EXPECT_EQ(view->definitionsNotice()->text(), "通道定义全部为空，灯具不会亮");
    EXPECT_TRUE(view->definitionsNotice()->isVisible());
    // Nothing mapped yet: nothing to offer.
    EXPECT_FALSE(view->takeDefinitionsButton()->isVisible());
}

TEST_F(MaterialPanelsTest, MappingOffersTheFixturesDefinitionsInOneUndoableClick) {
    click("Command灯具设置");
    MaterialFixturePanel* panel = view->fixturePanel();
    auto* par4 = in(panel, "Command实际_灯具4");
    EXPECT_EQ(par4->text(), "页1 A-10 RGB帕灯");
    EXPECT_FALSE(panel->takeDefinitionsButton()->isVisible());
    for (int v = 1; v <= 4; ++v) {
        EditorChainFixture::click(in(panel, "Command配接灯具" + QString::number(v)));
        EditorChainFixture::click(in(panel, "Command实际_灯具" + QString::number(v)));
    }
    ASSERT_TRUE(show.materials.at(1, 3).isMapped(4, 0, 4));
    ASSERT_TRUE(panel->takeDefinitionsButton()->isVisible());
    EXPECT_TRUE(panel->takeDefinitionsButton()->toolTip().contains("灯具 1 [RGB帕灯]"));
    const int entries = history.entryCount();
    EditorChainFixture::click(panel->takeDefinitionsButton());
    const Material& m = show.materials.at(1, 3);
    EXPECT_EQ(m.channelFunction(1), 20);
    EXPECT_EQ(m.channelFunction(3), 22);
    EXPECT_EQ(history.entryCount(), entries + 1);
    EXPECT_FALSE(panel->takeDefinitionsButton()->isVisible());
    EXPECT_FALSE(view->definitionsNotice()->isVisible());
    EXPECT_EQ(in<QLabel>(view, "Text通道定义1")->text(), materials->editor().channelDefinition(1));
    EXPECT_NE(in<QLabel>(view, "Text通道定义1")->text(), show.functionNames[0]);

    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(show.materials.at(1, 3).channelFunction(1), 0);
    EXPECT_TRUE(view->definitionsNotice()->isVisible());
    EXPECT_TRUE(panel->takeDefinitionsButton()->isVisible());

    // The button beside the value tools does the same with the panel closed.
    click("Command灯具设置隐藏");
    ASSERT_TRUE(view->takeDefinitionsButton()->isVisible());
    EditorChainFixture::click(view->takeDefinitionsButton());
    EXPECT_EQ(show.materials.at(1, 3).channelFunction(2), 21);
    EXPECT_FALSE(view->takeDefinitionsButton()->isVisible());
}

TEST_F(MaterialPanelsTest, TheToolsOpenOpaqueOverTheFadersOnly) {
    const QStringList mustShow = {"Frame设置",        "Frame临时通道",   "Combo当前步",
                                  "Command尾部粘贴",  "Command跑马工具", "Command标准素材",
                                  "Command虚拟灯具1", "Command返回"};
    click("Command跑马工具");
    ASSERT_TRUE(chase->isVisible());
    expectOpaque(chase);
    expectClear(chase, view, mustShow);
    // Its listing is there to read beside the fields.
    chase->Combo跑马类型->setCurrentText(kChaseTypeHeadToTail);
    EditorChainFixture::click(chase->Command生成数据);
    EXPECT_TRUE(chase->Text信息->toPlainText().startsWith("步001："));
    const QRect list = chase->Text信息->geometry();
    for (QWidget* field :
         {static_cast<QWidget*>(chase->Combo灭灯数据), static_cast<QWidget*>(chase->Check开启反向),
          static_cast<QWidget*>(chase->Command隐藏)})
        EXPECT_FALSE(list.intersects(field->geometry())) << field->objectName().toStdString();

    click("Command标准素材");
    ASSERT_TRUE(builtIns->isVisible());
    expectOpaque(builtIns);
    expectClear(builtIns, view,
                {"Frame设置", "Frame临时通道", "Command标准素材", "Command个性素材",
                 "Command虚拟灯具1", "Command返回"});
    // It covers the steps row whole, not up to a button that then seems to belong to it.
    const QRect area(builtIns->pos(), builtIns->size());
    for (const char* name : {"Combo当前步", "Command尾部粘贴"})
        EXPECT_TRUE(area.contains(in<QWidget>(view, name)->geometry())) << name;

    click("Command灯具设置");
    expectOpaque(view->fixturePanel());
}

// The Fixture Library with a fixture patched over another's channels.
class LibraryPanelsTest : public test::LibraryInShell {
  protected:
    void SetUp() override {
        LibraryInShell::SetUp();
        patch(0, 1, 0, 1, {0, 0, 0});
        show.library.at(0, 1).name = "RGB帕灯";
        patch(0, 4, 0, 2, {0, 0, 0});
        patch(0, 7, 0, 20, {0, 0, 0});
        patch(0, 9, 3, 511, {0, 0, 0});
        window.show();
        QTest::mouseClick(shell->titleBar().functionButton(3), Qt::LeftButton);
        ASSERT_EQ(window.currentView(), view);
    }
};

TEST_F(LibraryPanelsTest, OverlapsAreMarkedOnTheGridAndNamedInTheDetails) {
    EXPECT_TRUE(view->clashBadge(1)->isVisible());
    EXPECT_EQ(view->clashBadge(4)->text(), "重叠");
    EXPECT_FALSE(view->clashBadge(7)->isVisible());
    EXPECT_EQ(view->clashBadge(9)->text(), "越界");
    // The address display keeps its own caption.
    auto* display = view->findChild<QCheckBox*>("Check实际灯具显示方式");
    display->click();
    EXPECT_EQ(view->fixtureButton(4)->text(), "A - 2");
    QTest::mouseClick(view->fixtureButton(4), Qt::LeftButton);
    EXPECT_EQ(view->clashDetails()->text(), "与 灯具 1 [RGB帕灯] 重叠");
    EXPECT_TRUE(view->fixtureButton(4)->toolTip().contains("重叠"));
    QTest::mouseClick(view->fixtureButton(7), Qt::LeftButton);
    EXPECT_EQ(view->clashDetails()->text(), "");

    // "+20" moves it off fixture 1 onto fixture 7's last channel: the marks follow.
    QTest::mouseClick(view->fixtureButton(4), Qt::LeftButton);
    QTest::mouseClick(view->findChild<QPushButton*>("Command灯具地址+20"), Qt::LeftButton);
    EXPECT_FALSE(view->clashBadge(1)->isVisible());
    EXPECT_TRUE(view->clashBadge(4)->isVisible());
    EXPECT_TRUE(view->clashBadge(7)->isVisible());
    EXPECT_EQ(view->clashDetails()->text(), "与 灯具 7 重叠");
}

TEST_F(LibraryPanelsTest, TheCommonFixturesAndGroupPanelsLeaveTheDetailsInView) {
    const QStringList mustShow = {"Text灯具名称",    "Combo灯具地址",      "Combo灯具通道数",
                                  "Combo_Dmx_端口",  "Command灯库页1",     "Command灯库页2",
                                  "Command常用灯具", "Command灯具分组",    "Frame灯库灯具",
                                  "Label灯具冲突",   "Check只显示当前灯具"};
    QTest::mouseClick(view->findChild<QPushButton*>("Command常用灯具"), Qt::LeftButton);
    ASSERT_TRUE(view->commonPanel()->isVisible());
    expectOpaque(view->commonPanel());
    expectClear(view->commonPanel(), view, mustShow);
    QTest::mouseClick(view->findChild<QPushButton*>("Command灯具分组"), Qt::LeftButton);
    ASSERT_TRUE(view->groupPanel()->isVisible());
    expectOpaque(view->groupPanel());
    expectClear(view->groupPanel(), view, mustShow);
}

}  // namespace
}  // namespace kx
