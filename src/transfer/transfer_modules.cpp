#include "transfer/transfer_modules.h"

#include "base/settings.h"
#include "transfer/device_files_window.h"
#include "transfer/show_download_window.h"

namespace kx {

EditorModule makeDeviceFilesWindow(EditorContext& ctx) {
    EditorHost& host = ctx.host;
    DeviceFiles::Hooks hooks;
    hooks.developerMode = [&host] { return host.developerMode(); };
    hooks.enterDeveloperMode = [&host] { host.enterDeveloperMode(); };
    auto* window = new DeviceFilesWindow(ctx.transfer, ctx.paths, ctx.dialogs, std::move(hooks));

    EditorModule m;
    m.id = EditorId::FirmwareUpgrade;
    m.title = "升级程序";
    m.view = window;
    // The window shows itself; in the main window that means coming to the front.
    m.enter = [window, &host] {
        host.showView(window);
        window->Fun_窗体载入();
    };
    m.liveView = live_view::kDeviceFiles;
    m.liveOutputs = {{live_view::kDeviceFiles, {}}};
    m.onReply = [window](std::uint8_t code, std::span<const std::uint8_t> data) {
        window->core().Fun_接收版本号(code, data);
    };
    m.replyOrder = reply_order::kDeviceWindow;
    m.titleActions = {{TitleAction::Counters, [&host] { host.enter(EditorId::FirmwareUpgrade); }},
                      {TitleAction::Upgrade, [&host, window] {
                           host.enter(EditorId::FirmwareUpgrade);
                           window->Command升级程序->click();
                       }}};
    return m;
}

EditorModule makeShowDownloadWindow(EditorContext& ctx) {
    EditorHost& host = ctx.host;
    auto* window = new ShowDownloadWindow(
        ctx.transfer, ctx.paths,
        [&showFile = ctx.showFile, &prompter = ctx.dialogs.prompter] {
            return showFile.saveShow(prompter);
        },
        [&paths = ctx.paths] { return iniReadInt(paths.workSet, "最后编辑场景"); });

    EditorModule m;
    m.id = EditorId::Download;
    m.title = "下载";
    m.view = window;
    m.enter = [window, &host] {
        host.showView(window);
        window->Fun_窗体载入();
    };
    m.titleButton = title_button::kDownload;
    m.liveView = live_view::kDownload;
    m.liveOutputs = {{live_view::kDownload, {}}};
    return m;
}

}  // namespace kx
