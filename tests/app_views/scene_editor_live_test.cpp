#include <gtest/gtest.h>

#include <QTest>

#include "base/settings.h"
#include "link/protocol.h"
#include "show_editors_fixture.h"

namespace kx {
namespace {

// The Scene editor as the program plugs it in, with the Effect editor's place held by a plain
// view, against the simulated Controller.
class SceneEditorLiveTest : public test::ShowEditorsFixture {
  protected:
    void SetUp() override {
        ShowEditorsFixture::SetUp();
        EditorModule effects = placeholder(EditorId::Effects, "效果", 4, "EffectEditorView");
        effects.enter = [this, v = effects.view] {
            shell->setButtonEditor(EditorId::Effects);
            window.showView(v);
        };
        install({makeSceneEditor(context()), effects});
        view = viewOf<SceneEditorView>(EditorId::Scenes);
        show.effects.at(3).remark = "开场";
        connectLink();
        enterScenes();
        ASSERT_EQ(window.currentView(), view);
    }

    QByteArray lastBody() { return sim->records().back().body; }
    QByteArray hexBody(const char* text) {
        const auto bytes = hexTextBytes(text);
        return QByteArray(reinterpret_cast<const char*>(bytes->data()),
                          static_cast<qsizetype>(bytes->size()));
    }
    QLineEdit* reportBox() { return view->findChild<QLineEdit*>("Text接收场景对应"); }

    SceneEditorView* view = nullptr;
};

TEST_F(SceneEditorLiveTest, TheReportBoxAsksForReportsAndShowsThem) {
    EXPECT_EQ(link->live().view(), 4);
    QTest::mouseClick(reportBox(), Qt::LeftButton);
    ASSERT_TRUE(platform.pumpUntil([&] { return !reportBox()->text().isEmpty(); }));
    EXPECT_EQ(lastBody(), hexBody(kSceneReportOnText));
    // The Controller answers the start with its current report, then reports a VOD call.
    EXPECT_EQ(reportBox()->text(), "A-01  C-01");
    sim->reportScene(1, 3, 5);
    ASSERT_TRUE(platform.pumpUntil([&] { return reportBox()->text() == "B-03  C-05"; }));

    reportBox()->setFocus();
    const qint64 before = sim->datagramCount();
    view->sceneButton(2)->setFocus();
    ASSERT_TRUE(simReceived(before + 1));
    EXPECT_EQ(lastBody(), hexBody(kSceneReportOffText));
}

TEST_F(SceneEditorLiveTest, EffectButtonsAssignWhileEditingAndOpenOtherwise) {
    QTest::mouseClick(view->sceneButton(7), Qt::LeftButton);
    QTest::mouseClick(view->effectButton(3), Qt::LeftButton);
    EXPECT_EQ(show.scenes.at(7).effectNumber, 0);
    EXPECT_EQ(show.currentEffect, 3);
    EXPECT_EQ(window.currentView(), shell->view(EditorId::Effects));
    EXPECT_EQ(shell->titleBar().functionButton(4)->text(), "效果");

    shell->enter(EditorId::Scenes);
    EXPECT_EQ(shell->titleBar().functionButton(4)->text(), "场景");
    EXPECT_EQ(view->editor().currentScene(), 7);
    QTest::mouseClick(view->findChild<QCheckBox*>("Check开启场景编辑"), Qt::LeftButton);
    EXPECT_TRUE(view->findChild<QPushButton*>("Command粘贴场景设置")->isVisible());
    QTest::mouseClick(view->effectButton(3), Qt::LeftButton);
    EXPECT_EQ(show.scenes.at(7).effectNumber, 3);
    EXPECT_EQ(view->sceneButton(7)->text(), "[7]");
    EXPECT_EQ(view->effectButton(3)->text(), "[开场]");
    QTest::mouseClick(view->effectButton(3), Qt::LeftButton);
    EXPECT_EQ(show.scenes.at(7).effectNumber, 0);
    EXPECT_EQ(view->sceneButton(7)->text(), "7");
    EXPECT_EQ(window.currentView(), view);
}

TEST_F(SceneEditorLiveTest, SettingsOfTheCurrentSceneAndTheSpecialScenes) {
    QTest::mouseClick(view->findChild<QCheckBox*>("Check开启场景编辑"), Qt::LeftButton);
    auto* remark = view->findChild<QComboBox*>("ComboText场景备注");
    QTest::mouseClick(view->sceneButton(4), Qt::LeftButton);
    remark->setFocus();
    QTest::keyClicks(remark->lineEdit(), "KTV");
    EXPECT_EQ(show.scenes.at(4).name, "KTV");
    EXPECT_EQ(view->sceneButton(4)->text(), "4-KTV");
    remark->setCurrentIndex(4);
    emit remark->activated(4);
    EXPECT_EQ(show.scenes.at(4).name, "浪漫");

    auto* frame = view->findChild<QGroupBox*>("Frame场景关联");
    auto* audio = view->findChild<QGroupBox*>("Frame音源选择");
    EXPECT_TRUE(frame->isVisible());
    EXPECT_FALSE(audio->isVisible());  // audio follow mode 0
    QTest::mouseClick(view->sceneButton(33), Qt::LeftButton);
    EXPECT_EQ(view->sceneButton(33)->text(), "33-静音/暂停");
    EXPECT_FALSE(frame->isVisible());
    EXPECT_FALSE(view->findChild<QGroupBox*>("Frame场景备注")->isVisible());

    show.room.audioFollowMode = 2;
    shell->enter(EditorId::Scenes);
    EXPECT_TRUE(audio->isVisible());
    EXPECT_EQ(view->editor().currentScene(), 33);
    EXPECT_EQ(Fun_IniRead(paths.workSet, "最后编辑场景"), "33");
}

TEST_F(SceneEditorLiveTest, CtrlZTakesBackAnAssignmentAndBringsTheScenesBack) {
    auto* undoButton = view->findChild<QPushButton*>("Command撤销");
    auto* redoButton = view->findChild<QPushButton*>("Command重做");
    ASSERT_TRUE(undoButton && redoButton);
    EXPECT_TRUE(undoButton->isVisible());
    EXPECT_FALSE(undoButton->isEnabled());

    QTest::mouseClick(view->findChild<QCheckBox*>("Check开启场景编辑"), Qt::LeftButton);
    QTest::mouseClick(view->sceneButton(7), Qt::LeftButton);
    QTest::mouseClick(view->effectButton(3), Qt::LeftButton);
    auto* remark = view->findChild<QComboBox*>("ComboText场景备注");
    remark->setFocus();
    QTest::keyClicks(remark->lineEdit(), "KTV");  // one entry, not three
    EXPECT_EQ(show.scenes.at(7).name, "KTV");
    EXPECT_EQ(undoButton->toolTip(), "撤销：场景 7 备注");

    // Ctrl+Z in the text box is the program's undo, not the box's own.
    QTest::keyClick(remark->lineEdit(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(show.scenes.at(7).name, "");
    EXPECT_EQ(remark->currentText(), "");
    EXPECT_EQ(undoButton->toolTip(), "撤销：场景 7 效果");
    EXPECT_EQ(redoButton->toolTip(), "重做：场景 7 备注");

    // From another editor, the undo brings the scenes to the front on the edited scene.
    QTest::mouseClick(view->findChild<QCheckBox*>("Check开启场景编辑"), Qt::LeftButton);
    QTest::mouseClick(view->sceneButton(12), Qt::LeftButton);
    QTest::mouseClick(view->effectButton(5), Qt::LeftButton);
    ASSERT_EQ(window.currentView(), shell->view(EditorId::Effects));
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window.currentView(), view);
    EXPECT_EQ(show.scenes.at(7).effectNumber, 0);
    EXPECT_EQ(view->editor().currentScene(), 7);
    EXPECT_EQ(view->sceneButton(7)->text(), "7");

    QTest::mouseClick(redoButton, Qt::LeftButton);
    EXPECT_EQ(show.scenes.at(7).effectNumber, 3);
    EXPECT_EQ(view->sceneButton(7)->text(), "[7]");
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(show.scenes.at(7).name, "KTV");
    EXPECT_FALSE(redoButton->isEnabled());
}

}  // namespace
}  // namespace kx
