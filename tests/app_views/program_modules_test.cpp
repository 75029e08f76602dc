#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/editors.h"
#include "app/version_notes_window.h"
#include "diag/developer_console_window.h"
#include "monitor/dmx_monitor_window.h"
#include "shell_fixture.h"

namespace kx {
namespace {

// The program's own list of modules, plugged in as the program plugs it in: every title bar
// button, every title bar action and every way from one module to another reaches what it names.
class ProgramModulesTest : public test::ShellFixture {
  protected:
    void SetUp() override {
        ShellFixture::SetUp();
        QDir(dir.path()).mkpath("AppSet/Sys_config/SC_TEMP");
        install(makeEditors(context()));
        connectTitleActions(shell->titleBar(), modules);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    void title(int index) { click(shell->titleBar().functionButton(index)); }
    QPushButton* titleButton(const char* name) {
        return shell->titleBar().findChild<QPushButton*>(name);
    }
    template <typename T = QPushButton>
    T* in(EditorId id, const QString& name) {
        T* w = shell->view(id)->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    // The view in front, the live output's view and the title bar's highlight.
    void expectFront(EditorId id, int liveView, int button) {
        EXPECT_EQ(window.currentView(), shell->view(id)) << id.key;
        EXPECT_EQ(link->live().view(), liveView) << id.key;
        EXPECT_EQ(shell->titleBar().highlightedFunction(), button) << id.key;
    }
};

TEST_F(ProgramModulesTest, EveryTitleBarButtonLeadsToItsEditor) {
    title(title_button::kRoomControl);
    expectFront(EditorId::RoomControl, live_view::kRoomControl, title_button::kRoomControl);
    title(title_button::kFixtureLibrary);
    expectFront(EditorId::FixtureLibrary, live_view::kFixtureLibrary,
                title_button::kFixtureLibrary);
    title(title_button::kShow);
    expectFront(EditorId::Scenes, live_view::kSceneEditor, title_button::kShow);
    title(title_button::kTestConsole);
    expectFront(EditorId::TestConsole, live_view::kTestConsole, title_button::kTestConsole);
    title(title_button::kDownload);
    expectFront(EditorId::Download, live_view::kDownload, title_button::kDownload);
}

TEST_F(ProgramModulesTest, EditorsLeadToEachOtherThroughTheHost) {
    // 场景 -> Effect 2 -> its Slot 3 in the Material editor -> 返回 -> 返回.
    title(title_button::kShow);
    click(in(EditorId::Scenes, "CommandDmx512效果2"));
    expectFront(EditorId::Effects, live_view::kEffectEditor, title_button::kShow);
    EXPECT_EQ(shell->titleBar().functionButton(title_button::kShow)->text(), "效果");
    click(in(EditorId::Effects, "Command素材3"));
    expectFront(EditorId::Materials, live_view::kMaterialStatic, title_button::kShow);
    EXPECT_EQ(shell->titleBar().functionButton(title_button::kShow)->text(), "素材");
    click(in(EditorId::Materials, "Command返回"));
    expectFront(EditorId::Effects, live_view::kEffectEditor, title_button::kShow);
    click(in(EditorId::Effects, "Command返回"));
    expectFront(EditorId::Scenes, live_view::kSceneEditor, title_button::kShow);

    // 灯控 -> the air-conditioner IR window, which then takes the button, and back.
    title(title_button::kRoomControl);
    click(in(EditorId::RoomControl, "Command进入红外空调界面"));
    expectFront(EditorId::IrLearning, live_view::kAirConIr, title_button::kRoomControl);
    title(title_button::kFixtureLibrary);
    title(title_button::kRoomControl);
    EXPECT_EQ(window.currentView(), shell->view(EditorId::IrLearning));

    // The version notes open from the room control editor, over the main window.
    click(in(EditorId::IrLearning, "Command返回灯控"));
    expectFront(EditorId::RoomControl, live_view::kRoomControl, title_button::kRoomControl);
    click(in(EditorId::RoomControl, "Command版本说明"));
    auto* notes = window.findChild<VersionNotesWindow*>();
    ASSERT_NE(notes, nullptr);
    EXPECT_TRUE(notes->isVisible());
    EXPECT_FALSE(notes->textBox()->toPlainText().isEmpty());
}

TEST_F(ProgramModulesTest, TitleBarActionsReachTheModulesTakingThem) {
    // The counters and the upgrade button lead to the device window.
    QTest::mouseDClick(shell->titleBar().countersLabel(), Qt::LeftButton);
    expectFront(EditorId::FirmwareUpgrade, live_view::kDeviceFiles, 0);
    title(title_button::kFixtureLibrary);
    click(titleButton("Command升级程序"));
    expectFront(EditorId::FirmwareUpgrade, live_view::kDeviceFiles, 0);

    // The DMX monitor opens beside the main window and closes again.
    auto* monitor = window.findChild<DmxMonitorWindow*>();
    ASSERT_NE(monitor, nullptr);
    click(titleButton("CommandDMX监视"));
    EXPECT_TRUE(monitor->isVisible());
    click(titleButton("CommandDMX监视"));
    EXPECT_FALSE(monitor->isVisible());

    // Developer mode entered through the host shows the console's button, which opens it.
    host->enterDeveloperMode();
    EXPECT_TRUE(host->developerMode());
    QPushButton* console = titleButton("Command开发模式");
    ASSERT_TRUE(console->isVisibleTo(&shell->titleBar()));
    click(console);
    bool opened = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<DeveloperConsoleWindow*>(w) != nullptr) opened = w->isVisible();
    EXPECT_TRUE(opened);
}

}  // namespace
}  // namespace kx
