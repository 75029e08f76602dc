// The one list of the editors and of the other views and windows the program plugs in, in the
// order start-up makes them. Adding an editor means writing its module and one line here.
#include "app/editors.h"

#include "app/version_notes_module.h"
#include "diag/diag_modules.h"
#include "effects/effect_editor_module.h"
#include "fixtures/fixture_library_module.h"
#include "materials/material_editor_module.h"
#include "monitor/dmx_monitor_module.h"
#include "roomctl/room_control_module.h"
#include "scenes/scene_editor_module.h"
#include "transfer/transfer_modules.h"

namespace kx {

namespace {

constexpr EditorFactory kEditors[] = {
    makeFixtureLibraryEditor, makeEffectEditor,   makeDeviceFilesWindow, makeShowDownloadWindow,
    makeSceneEditor,          makeMaterialEditor, makeRoomControlEditor, makeTestConsole,
    makeAirConIrWindow,       makeVersionNotes,   makeDeveloperConsole,  makeDmxMonitor,
};

}  // namespace

std::vector<EditorModule> makeEditors(EditorContext& ctx) {
    std::vector<EditorModule> modules;
    for (EditorFactory make : kEditors)
        modules.push_back(make(ctx));
    return modules;
}

}  // namespace kx
