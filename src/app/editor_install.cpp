#include "app/editor_install.h"

namespace kx {

InstalledEditors installEditors(std::vector<EditorRegistration> registrations, ControllerLink& link,
                                WheelRouter& wheel, MainWindow& window) {
    InstalledEditors installed;
    for (EditorRegistration& r : registrations) {
        for (auto& [number, output] : r.liveOutputs)
            link.live().defineView(number, std::move(output));
        if (r.onReply) link.addReplyHandler(r.onReply, r.replyOrder);
        if (r.wheelStep) wheel.addTargets(r.wheelBase, r.wheelStep);
        if (r.showReplaced) installed.showReplaced.push_back(r.showReplaced);
        MainShell::Entry e;
        e.id = r.id;
        e.title = r.title;
        e.view = r.makeView();
        e.titleButton = r.titleButton;
        e.startsOnButton = r.startsOnButton;
        e.buttonCaption = r.buttonCaption;
        e.enter = [&link, &window, view = e.view, liveView = r.liveView, enter = r.enter] {
            if (liveView != 0) link.setView(liveView);
            if (enter) {
                enter();
            } else {
                window.showView(view);
            }
        };
        installed.entries.push_back(std::move(e));
    }
    return installed;
}

}  // namespace kx
