#pragma once

#include "app/editor_registration.h"
#include "link/controller_link.h"
#include "roomctl/air_con_ir_window.h"
#include "roomctl/room_control_view.h"
#include "shell/undo_actions.h"
#include "show/show.h"

namespace kx {

// What the two room control views need of the program beyond the show and the link.
struct RoomControlServices {
    const Appearance& appearance;
    FileDialogs dialogs;
    ShowFile& showFile;
    // Brings a view to the front.
    std::function<void(QWidget*)> showView;
    std::function<void()> openVersionNotes;
    // From one view to the other; the title bar's "灯控" leads to the one last entered.
    std::function<void()> openAirConIr;
    std::function<void()> backToRoomControl;
    // The program's edit history; none: the room control editor's stores are not recorded.
    UndoActions* undo = nullptr;
};

// The room control editor as the program plugs it in: live view 6, the effector code reports
// (offered at replyOrder), the VJ server selection in the frames, refreshed after every load.
EditorRegistration roomControlRegistration(Show& show, ControllerLink& link,
                                           const RoomControlServices& services, int replyOrder,
                                           RoomControlView*& view);
// The air-conditioner IR window: live view 11, the learned reports (offered at replyOrder).
EditorRegistration airConIrRegistration(ControllerLink& link, const RoomControlServices& services,
                                        int replyOrder, AirConIrWindow*& window);

}  // namespace kx
