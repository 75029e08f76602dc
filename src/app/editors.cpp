// The one list of the editors and other views below the title bar. Adding an editor means
// writing its files and one entry here.
#include "app/application.h"
#include "app/effect_editor_registration.h"
#include "app/fixture_library_registration.h"
#include "app/live_views.h"
#include "app/material_editor_entry.h"
#include "app/room_control_registration.h"
#include "app/scene_editor_registration.h"
#include "base/settings.h"
#include "diag/test_console_view.h"
#include "shell/widgets.h"
#include "transfer/device_files_window.h"
#include "transfer/show_download_window.h"

namespace kx {

namespace {

// Replies are offered after the transfer's reply store in the order room control editor (its IR
// code receiver), device window, test console, scene editor (4), IR learning window.
namespace reply_order {
constexpr int kRoomControl = 1;
constexpr int kDeviceWindow = 2;
constexpr int kTestConsole = 3;
constexpr int kAirConIr = 5;
}  // namespace reply_order

}  // namespace

std::vector<EditorRegistration> Application::editors() {
    std::vector<EditorRegistration> list;

    list.push_back(
        fixtureLibraryRegistration(m_show, m_paths,
                                   {m_appearance,
                                    m_shell->pictures(),
                                    m_wheel,
                                    {m_platform, m_platform},
                                    [this](QWidget* view) { m_window->showView(view); },
                                    [this] { m_shell->enter(EditorId::FixtureLibrary); }},
                                   m_fixtureLibrary, m_undo.get()));

    list.push_back(effectEditorRegistration(
        {m_show,
         m_images,
         m_materialOutput,
         m_appearance,
         {m_platform, m_platform},
         *m_link,
         [this](QWidget* view) { m_window->showView(view); },
         [this] { m_shell->setButtonEditor(EditorId::Effects); },
         [this] { m_shell->enter(EditorId::Effects); },
         [this] {
             const EffectEditorPosition& at = m_effectEditor->editor().position();
             m_materialEditor.opens = {at.module, at.slot};
             m_shell->enter(EditorId::Materials);
         },
         [this] { m_shell->enter(EditorId::Scenes); },
         m_undo.get()},
        m_effectEditor));

    EditorRegistration upgrade;
    upgrade.id = EditorId::FirmwareUpgrade;
    upgrade.title = "升级程序";
    upgrade.makeView = [this] {
        DeviceFiles::Hooks hooks;
        hooks.developerMode = [this] { return m_developer.on; };
        hooks.enterDeveloperMode = [this] {
            m_developer.on = true;
            m_shell->titleBar().setDeveloperMode(true);
        };
        m_deviceFiles =
            new DeviceFilesWindow(*m_transfer, m_paths, {m_platform, m_platform}, std::move(hooks));
        return m_deviceFiles;
    };
    // The window shows itself; in the main window that means coming to the front.
    upgrade.enter = [this] {
        m_window->showView(m_deviceFiles);
        m_deviceFiles->Fun_窗体载入();
    };
    upgrade.liveView = live_view::kDeviceFiles;
    upgrade.liveOutputs = {{live_view::kDeviceFiles, {}}};
    upgrade.onReply = [this](std::uint8_t code, std::span<const std::uint8_t> data) {
        m_deviceFiles->core().Fun_接收版本号(code, data);
    };
    upgrade.replyOrder = reply_order::kDeviceWindow;
    list.push_back(upgrade);

    EditorRegistration download;
    download.id = EditorId::Download;
    download.title = "下载";
    download.makeView = [this] {
        m_download = new ShowDownloadWindow(
            *m_transfer, m_paths, [this] { return m_showFile->saveShow(m_platform); },
            [this] { return iniReadInt(m_paths.workSet, "最后编辑场景"); });
        return m_download;
    };
    download.enter = [this] {
        m_window->showView(m_download);
        m_download->Fun_窗体载入();
    };
    download.titleButton = 6;
    download.liveView = live_view::kDownload;
    download.liveOutputs = {{live_view::kDownload, {}}};
    list.push_back(download);

    list.push_back(sceneEditorRegistration({m_show,
                                            m_images,
                                            m_paths,
                                            m_appearance,
                                            {m_platform, m_platform},
                                            *m_link,
                                            [this](QWidget* view) { m_window->showView(view); },
                                            [this] { m_shell->setButtonEditor(EditorId::Scenes); },
                                            [this] { m_shell->enter(EditorId::Effects); },
                                            [this] { m_shell->enter(EditorId::Scenes); },
                                            m_undo.get()},
                                           m_sceneEditor));

    list.push_back(materialEditorEntry(m_materialEditor, {m_show,
                                                          m_materialOutput,
                                                          m_paths,
                                                          {m_platform, m_platform},
                                                          m_appearance,
                                                          *m_link,
                                                          m_wheel,
                                                          *m_window,
                                                          *m_shell,
                                                          m_images,
                                                          m_undo.get()}));

    const RoomControlServices roomServices{m_appearance,
                                           {m_platform, m_platform},
                                           *m_showFile,
                                           [this](QWidget* view) { m_window->showView(view); },
                                           [this] { m_shell->openVersionNotes(); },
                                           [this] {
                                               m_shell->setButtonEditor(EditorId::IrLearning);
                                               m_shell->enter(EditorId::IrLearning);
                                           },
                                           [this] {
                                               m_shell->setButtonEditor(EditorId::RoomControl);
                                               m_shell->enter(EditorId::RoomControl);
                                           },
                                           m_undo.get()};
    list.push_back(roomControlRegistration(m_show, *m_link, roomServices, reply_order::kRoomControl,
                                           m_roomControl));

    EditorRegistration test;
    test.id = EditorId::TestConsole;
    test.title = "测试";
    test.makeView = [this] {
        m_testConsole = new TestConsoleView(
            *m_link, m_appearance,
            [this](int scene) {
                const Scene& s = m_show.scenes.at(scene);
                return std::pair<QString, bool>(s.name, s.mainsByDmx != 0);
            },
            [this](QWidget* view) { m_window->showView(view); });
        return m_testConsole;
    };
    test.enter = [this] { m_testConsole->Fun_窗体载入(); };
    test.titleButton = 5;
    test.liveView = live_view::kTestConsole;
    LiveDmx::ViewOutput drums;
    drums.compose = [this](DmxFrame&) { m_testConsole->console().Fun_自动模拟鼓点(); };
    drums.keepsSerialTest = true;
    test.liveOutputs = {{live_view::kTestConsole, drums}};
    test.onReply = [this](std::uint8_t code, std::span<const std::uint8_t> data) {
        m_testConsole->onReply(code, data);
    };
    test.replyOrder = reply_order::kTestConsole;
    list.push_back(test);

    list.push_back(airConIrRegistration(*m_link, roomServices, reply_order::kAirConIr, m_airConIr));

    return list;
}

}  // namespace kx
