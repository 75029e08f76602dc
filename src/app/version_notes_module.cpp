#include "app/version_notes_module.h"

#include "app/version_notes_window.h"

namespace kx {

EditorModule makeVersionNotes(EditorContext& ctx) {
    auto* window = new VersionNotesWindow(ctx.appearance, &ctx.host.mainWindow());
    EditorModule m;
    m.id = EditorId::VersionNotes;
    m.title = "版本说明";
    m.enter = [window, &host = ctx.host] {
        window->Fun_窗体载入();
        host.centreOverMain(window);
    };
    return m;
}

}  // namespace kx
