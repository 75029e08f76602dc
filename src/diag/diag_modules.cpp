#include "diag/diag_modules.h"

#include "diag/developer_console_window.h"
#include "diag/test_console_view.h"

namespace kx {

EditorModule makeTestConsole(EditorContext& ctx) {
    Show& show = ctx.show;
    EditorHost& host = ctx.host;
    auto* view = new TestConsoleView(
        ctx.link, ctx.appearance,
        [&show](int scene) {
            const Scene& s = show.scenes.at(scene);
            return std::pair<QString, bool>(s.name, s.mainsByDmx != 0);
        },
        [&host](QWidget* v) { host.showView(v); });

    EditorModule m;
    m.id = EditorId::TestConsole;
    m.title = "测试";
    m.view = view;
    m.enter = [view] { view->Fun_窗体载入(); };
    m.titleButton = title_button::kTestConsole;
    m.liveView = live_view::kTestConsole;
    LiveDmx::ViewOutput drums;
    drums.compose = [view](DmxFrame&) { view->console().Fun_自动模拟鼓点(); };
    drums.keepsSerialTest = true;
    drums.worksOffline = [view] { return view->console().drum().mode != AutoDrum::Off; };
    m.liveOutputs = {{live_view::kTestConsole, drums}};
    m.onReply = [view](std::uint8_t code, std::span<const std::uint8_t> data) {
        view->onReply(code, data);
    };
    m.replyOrder = reply_order::kTestConsole;
    return m;
}

EditorModule makeDeveloperConsole(EditorContext& ctx) {
    auto window = std::make_shared<DeveloperConsoleWindow>(ctx.link, ctx.appearance);
    EditorModule m;
    m.id = EditorId{"developer-console"};
    m.title = "开发者";
    m.titleActions = {{TitleAction::DeveloperConsole, [w = window.get(), &host = ctx.host] {
                           w->Fun_窗体载入();
                           host.centreOverMain(w);
                       }}};
    m.keeps = std::move(window);
    return m;
}

}  // namespace kx
