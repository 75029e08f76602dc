#include "roomctl/room_control_module.h"

#include "link/protocol.h"
#include "roomctl/air_con_ir_window.h"
#include "roomctl/room_control_view.h"

namespace kx {

namespace {

constexpr int kVjServerFrameSets = 100;

std::function<void(std::span<const std::uint8_t>)> controlSender(ControllerLink& link) {
    return [&link](std::span<const std::uint8_t> args) { link.sendCommand(cmd::kControl, args); };
}

// From one view to the other; the title bar's "灯控" leads to the one last entered.
void switchTo(EditorHost& host, EditorId id) {
    host.setButtonEditor(id);
    host.enter(id);
}

RoomControlLink roomLink(ControllerLink& link) {
    RoomControlLink r;
    r.connected = [&link] { return link.connected(); };
    r.inFront = [&link] { return link.live().view() == live_view::kRoomControl; };
    r.sendControl = controlSender(link);
    r.vjServerChanged = [&link](std::uint8_t server) {
        link.live().setVjServer(server);
        link.live().frame().fill(0);
        link.requestFrames(kVjServerFrameSets);
    };
    return r;
}

}  // namespace

EditorModule makeRoomControlEditor(EditorContext& ctx) {
    Show& show = ctx.show;
    EditorHost& host = ctx.host;
    ControllerLink& link = ctx.link;
    auto* view =
        new RoomControlView(show.room, show.thresholds, show.scenes,
                            {.appearance = ctx.appearance,
                             .dialogs = ctx.dialogs,
                             .showFile = ctx.showFile,
                             .link = roomLink(link),
                             .showView = [&host](QWidget* v) { host.showView(v); },
                             .openVersionNotes = [&host] { host.enter(EditorId::VersionNotes); },
                             .openAirConIr = [&host] { switchTo(host, EditorId::IrLearning); }});
    // A record put back brings the editor to the front, as the way back from the IR window does.
    if (ctx.history != nullptr)
        view->editor().setHistory(ctx.history, [&host] { switchTo(host, EditorId::RoomControl); });

    EditorModule m;
    m.id = EditorId::RoomControl;
    m.title = "灯控";
    m.view = view;
    m.enter = [view] { view->Fun_窗体载入(); };
    m.titleButton = title_button::kRoomControl;
    m.startsOnButton = true;
    m.liveView = live_view::kRoomControl;
    m.liveOutputs = {{live_view::kRoomControl, {}}};
    m.onReply = [view](std::uint8_t code, std::span<const std::uint8_t> data) {
        view->Fun_效果器红外接收码值(code, data);
    };
    m.replyOrder = reply_order::kRoomControl;
    // Beside the Show File buttons, in the free place of their second row.
    m.undoButtons = QPoint{1141, 381};
    // The frames carry the selection the list shows.
    m.showReplaced = [&show, &link, view] {
        link.live().setVjServer(show.room.vjServer);
        view->Fun_所有控件数据刷新();
    };
    return m;
}

EditorModule makeAirConIrWindow(EditorContext& ctx) {
    EditorHost& host = ctx.host;
    auto* window = new AirConIrWindow(
        {.appearance = ctx.appearance,
         .waiter = ctx.link.waiter(),
         .sendControl = controlSender(ctx.link),
         .showView = [&host](QWidget* v) { host.showView(v); },
         .backToRoomControl = [&host] { switchTo(host, EditorId::RoomControl); }});

    EditorModule m;
    m.id = EditorId::IrLearning;
    m.title = "空调红外学习";
    m.view = window;
    m.enter = [window] { window->Fun_窗体载入(); };
    m.titleButton = title_button::kRoomControl;
    m.buttonCaption = "灯控";
    m.liveView = live_view::kAirConIr;
    m.liveOutputs = {{live_view::kAirConIr, {}}};
    m.onReply = [window](std::uint8_t code, std::span<const std::uint8_t> data) {
        window->Fun_红外空调在线学习反馈(code, data);
    };
    m.replyOrder = reply_order::kAirConIr;
    return m;
}

}  // namespace kx
