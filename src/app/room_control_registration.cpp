#include "app/room_control_registration.h"

#include "app/live_views.h"

namespace kx {

namespace {

std::function<void(std::span<const std::uint8_t>)> controlSender(ControllerLink& link) {
    return [&link](std::span<const std::uint8_t> args) { link.sendCommand(cmd::kControl, args); };
}

constexpr int kVjServerFrameSets = 100;
// Beside the Show File buttons, in the free place of their second row.
constexpr QPoint kUndoButtons{1141, 381};

}  // namespace

EditorRegistration roomControlRegistration(Show& show, ControllerLink& link,
                                           const RoomControlServices& services, int replyOrder,
                                           RoomControlView*& view) {
    EditorRegistration r;
    r.id = EditorId::RoomControl;
    r.title = "灯控";
    r.makeView = [&show, &link, services, &view] {
        RoomControlLink roomLink;
        roomLink.connected = [&link] { return link.connected(); };
        roomLink.inFront = [&link] { return link.live().view() == live_view::kRoomControl; };
        roomLink.sendControl = controlSender(link);
        roomLink.vjServerChanged = [&link](std::uint8_t server) {
            link.live().setVjServer(server);
            link.live().frame().fill(0);
            link.requestFrames(kVjServerFrameSets);
        };
        view = new RoomControlView(
            show.room, show.thresholds, show.scenes,
            {services.appearance, services.dialogs, services.showFile, std::move(roomLink),
             services.showView, services.openVersionNotes, services.openAirConIr});
        if (services.undo != nullptr) {
            // A record put back brings the editor to the front, as the way back from the IR
            // window does.
            view->editor().setHistory(&services.undo->history(), services.backToRoomControl);
            services.undo->addButtons(view, kUndoButtons);
        }
        return view;
    };
    r.enter = [&view] { view->Fun_窗体载入(); };
    r.titleButton = 1;
    r.startsOnButton = true;
    r.liveView = live_view::kRoomControl;
    r.liveOutputs = {{live_view::kRoomControl, {}}};
    r.onReply = [&view](std::uint8_t code, std::span<const std::uint8_t> data) {
        view->Fun_效果器红外接收码值(code, data);
    };
    r.replyOrder = replyOrder;
    // The frames carry the selection the list shows.
    r.showReplaced = [&show, &link, &view] {
        link.live().setVjServer(show.room.vjServer);
        view->Fun_所有控件数据刷新();
    };
    return r;
}

EditorRegistration airConIrRegistration(ControllerLink& link, const RoomControlServices& services,
                                        int replyOrder, AirConIrWindow*& window) {
    EditorRegistration r;
    r.id = EditorId::IrLearning;
    r.title = "空调红外学习";
    r.makeView = [&link, services, &window] {
        window = new AirConIrWindow({services.appearance, link.waiter(), controlSender(link),
                                     services.showView, services.backToRoomControl});
        return window;
    };
    r.enter = [&window] { window->Fun_窗体载入(); };
    r.titleButton = 1;
    r.buttonCaption = "灯控";
    r.liveView = live_view::kAirConIr;
    r.liveOutputs = {{live_view::kAirConIr, {}}};
    r.onReply = [&window](std::uint8_t code, std::span<const std::uint8_t> data) {
        window->Fun_红外空调在线学习反馈(code, data);
    };
    r.replyOrder = replyOrder;
    return r;
}

}  // namespace kx
