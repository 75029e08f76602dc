#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "show_editors_fixture.h"

namespace kx {
namespace {

// The Material editor reached as the technician reaches it (场景 -> Effect -> Slot), registered
// with the program's edit history; Ctrl+Z and the buttons on the real widgets.
class MaterialEditorUndoViewTest : public test::EditorChainFixture {
  protected:
    void SetUp() override {
        EditorChainFixture::SetUp();
        openSlot(1, 1);
        materials->editor().typeFixtureCount("2");
        materials->editor().typeChannelCount("3");
        history.clear();
    }

    static void mouse(QWidget* w, QEvent::Type type, int y, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(10, y), w->mapToGlobal(QPointF(10, y)), Qt::LeftButton, held,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    // A drag down the fader's track through `moves` positions.
    static void drag(FaderView* fader, int moves) {
        mouse(fader, QEvent::MouseButtonPress, 2, Qt::LeftButton);
        for (int i = 1; i <= moves; ++i)
            mouse(fader, QEvent::MouseMove, 2 + i * 3, Qt::LeftButton);
        mouse(fader, QEvent::MouseButtonRelease, 2 + moves * 3, Qt::NoButton);
    }
    static void ctrl(QWidget* w, Qt::Key key) { QTest::keyClick(w, key, Qt::ControlModifier); }
    Material& material(int module, int slot) { return show.materials.at(module, slot); }
};

TEST_F(MaterialEditorUndoViewTest, AFaderDragIsOneEntryThatCtrlZTakesBack) {
    MaterialEditorView* view = materials;
    QPushButton* undoButton = in(view, "Command撤销");
    EXPECT_FALSE(undoButton->isEnabled());
    std::vector<int> seen;
    QObject::connect(view->fader(2), &FaderView::faderChanged,
                     [&](int, int v) { seen.push_back(v); });
    drag(view->fader(2), 50);
    ASSERT_GE(seen.size(), 50u);
    const int dragged = material(1, 1).value(1, 1, 2);
    EXPECT_EQ(dragged, seen.back());
    EXPECT_EQ(history.entryCount(), 1);
    EXPECT_TRUE(undoButton->isEnabled());
    EXPECT_EQ(undoButton->toolTip(), "撤销：素材 1 通道 2");

    // The drag made Step 1; taking it back leaves the Material as it was, the faders too.
    ctrl(view->valueBox(1), Qt::Key_Z);
    EXPECT_EQ(material(1, 1).stepCount(), 0);
    EXPECT_EQ(view->valueBox(2)->text(), "0");
    EXPECT_EQ(view->fader(2)->value(), 0);
    EXPECT_EQ(in(view, "Command重做")->toolTip(), "重做：素材 1 通道 2");

    ctrl(view, Qt::Key_Y);
    EXPECT_EQ(material(1, 1).value(1, 1, 2), dragged);
    EXPECT_EQ(view->valueBox(2)->text(), QString::number(dragged));
    EXPECT_EQ(in<QLabel>(view, "Label总步数")->text(), "总步数：1");

    // A second drag after the release is an entry of its own.
    drag(view->fader(2), 3);
    EXPECT_EQ(history.entryCount(), 2);
}

TEST_F(MaterialEditorUndoViewTest, TheAllValuesButtonThenCtrlZAndTheUndoButton) {
    MaterialEditorView* view = materials;
    click(in(view, "Command加一步"));
    click(in(view, "Command数值255"));
    for (int k = 1; k <= 3; ++k)
        ASSERT_EQ(view->valueBox(k)->text(), "255") << k;
    EXPECT_EQ(in(view, "Command撤销")->toolTip(), "撤销：素材 1 全255");
    ctrl(view->valueBox(3), Qt::Key_Z);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(material(1, 1).value(1, 1, k), 0) << k;
        EXPECT_EQ(view->valueBox(k)->text(), "0") << k;
    }
    EXPECT_EQ(material(1, 1).stepCount(), 1);
    click(in(view, "Command撤销"));
    EXPECT_EQ(material(1, 1).stepCount(), 0);
    EXPECT_EQ(in<QLabel>(view, "Label总步数")->text(), "总步数：0");
    // Ctrl+Shift+Z makes both again.
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(material(1, 1).value(1, 1, 3), 255);
}

TEST_F(MaterialEditorUndoViewTest, UndoFromTheScenesOpensTheEditedEffectAndShowsItsMaterial) {
    click(in(materials, "Command数值128"));
    backToScenes();
    openSlot(2, 7);
    materials->editor().typeFixtureCount("1");
    backToScenes();
    ASSERT_EQ(show.currentEffect, 2);
    ASSERT_EQ(history.entryCount(), 2);

    // Effect 2's entry first, then Effect 1's: the bank switches back and the editor comes to
    // the front on Module 1, Slot 1 with its Step shown.
    ctrl(scenes, Qt::Key_Z);
    EXPECT_EQ(window.currentView(), materials);
    EXPECT_EQ(material(1, 7).fixtureCount(), 0);
    ctrl(materials, Qt::Key_Z);
    EXPECT_EQ(show.currentEffect, 1);
    EXPECT_EQ(materials->editor().slot(), 1);
    EXPECT_EQ(material(1, 1).stepCount(), 0);
    EXPECT_EQ(link->live().view(), 7);
    EXPECT_EQ(shell->titleBar().functionButton(4)->text(), "素材");

    // Both made again: the switch goes the other way and Effect 1's image keeps its value.
    ctrl(materials, Qt::Key_Y);
    EXPECT_EQ(materials->valueBox(1)->text(), "128");
    ctrl(materials, Qt::Key_Y);
    EXPECT_EQ(show.currentEffect, 2);
    EXPECT_EQ(materials->editor().slot(), 7);
    EXPECT_EQ(material(1, 7).fixtureCount(), 1);
    EXPECT_EQ(in<QLabel>(materials, "Label效果")->text(), materials->editor().effectCaption());
    ASSERT_TRUE(images.open(1).done);
    EXPECT_EQ(material(1, 1).value(1, 1, 3), 128);
}

}  // namespace
}  // namespace kx
