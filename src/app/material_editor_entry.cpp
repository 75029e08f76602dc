#include "app/material_editor_entry.h"

#include "app/live_views.h"
#include "app/popup_wiring.h"

namespace kx {

namespace {

constexpr int kStaticView = live_view::kMaterialStatic;
constexpr int kRunView = live_view::kMaterialRun;
// Beside "所有通道联动", below the demonstration button.
constexpr QPoint kUndoButtons{1000, 66};
// The tools open over the faders (where the fixture panel opens too), below the Virtual Fixture
// bar and left of the settings and Temporary Channels.
constexpr QPoint kToolPanelTop{6, 94};

// The captions' names of the open Effect and of its Module 1-20.
std::pair<QString, QString> openNames(const Show& show, int module) {
    const int e = show.currentEffect;
    if (!isEffectNumber(e)) return {};
    const Effect& fx = show.effects.at(e);
    return {fx.remark, fx.modules[module - 1].remark};
}

// The chase generator and the built-in libraries work on the Material the editor shows and open
// over the editor; after they changed it the editor shows it again.
void addMaterialTools(MaterialEditorHome& home, const MaterialEditorParts& parts) {
    MaterialEditorView* view = home.view;
    home.chase = new ChaseGeneratorWindow(parts.appearance, view);
    home.chase->move(kToolPanelTop);
    home.chase->hide();
    QObject::connect(home.chase, &ChaseGeneratorWindow::generated, view,
                     [view] { view->reload(); });
    hideOutsideView(parts.link.live(), kStaticView, home.chase);

    home.builtIns = new BuiltInMaterialsPanel(parts.paths.appSet, parts.dialogs.prompter,
                                              parts.appearance, view);
    home.builtIns->move(kToolPanelTop);
    home.builtIns->attachLibraryButtons(view->findChild<QAbstractButton*>("Command标准素材"),
                                        view->findChild<QAbstractButton*>("Command个性素材"));
    QObject::connect(home.builtIns, &BuiltInMaterialsPanel::imported, view,
                     [view] { view->reload(); });
}

// Undo and redo reach the editor's Material of any Effect: the bank switch first, then the editor
// to the front on the Material put back.
void addHistory(MaterialEditorHome& home, const MaterialEditorParts& parts) {
    if (parts.undo == nullptr) return;
    Show& show = parts.show;
    MaterialEditorHistory h;
    h.history = &parts.undo->history();
    h.openEffect = [&show] { return show.currentEffect; };
    h.openBank = [&images = parts.images](int effect) { return images.open(effect); };
    h.reveal = [&home, parts] {
        MaterialEditor& core = *home.core;
        const auto [effectName, moduleName] = openNames(parts.show, core.module());
        core.setNames(effectName, moduleName);
        core.setEffectNumber(parts.show.currentEffect);
        home.opens = {core.module(), core.slot()};
        parts.link.setView(core.demoOpen() ? kRunView : kStaticView);
        parts.window.showView(home.view);
        parts.shell.setButtonEditor(EditorId::Materials);
        home.view->Fun_所有控件数据刷新();
    };
    home.core->setHistory(std::move(h));
    parts.undo->addButtons(home.view, kUndoButtons);
}

}  // namespace

EditorRegistration materialEditorEntry(MaterialEditorHome& home, MaterialEditorParts parts) {
    EditorRegistration r;
    r.id = EditorId::Materials;
    r.title = "素材";
    r.makeView = [&home, parts] {
        Show& show = parts.show;
        home.core = std::make_unique<MaterialEditor>(
            MaterialEditorSources{show.materials, show.library, show.groups, show.functionNames,
                                  parts.output},
            parts.paths, parts.dialogs);
        ControllerLink& link = parts.link;
        MaterialEditorView::Hooks hooks;
        hooks.setLiveView = [&link](int view) { link.setView(view); };
        hooks.requestJump = [&link] { link.live().oneTickRequest() = 1; };
        hooks.setWheelTarget = [&wheel = parts.wheel](int target) { wheel.wheelTarget = target; };
        hooks.back = [&shell = parts.shell] { shell.enter(EditorId::Effects); };
        hooks.chaseTool = [&home] {
            MaterialEditor& core = *home.core;
            home.chase->setMaterial(&core.material(),
                                    [&core](const ChaseFields& f) { return core.runChase(f); });
            home.chase->toggle();
        };
        // Runs before the panel hears the same click (it was connected first).
        hooks.builtinMaterials = [&home](int) {
            home.builtIns->setImport(
                [&core = *home.core](const BuiltInEntry& e) { return core.applyBuiltIn(e); });
        };
        const PictureStore& pictures = parts.shell.pictures();
        home.view =
            new MaterialEditorView(*home.core, parts.dialogs.prompter, parts.appearance,
                                   {pictures.faderTrack, pictures.faderKnob}, std::move(hooks));
        addMaterialTools(home, parts);
        addHistory(home, parts);
        return home.view;
    };
    r.enter = [&home, parts] {
        parts.window.showView(home.view);
        parts.shell.setButtonEditor(EditorId::Materials);
        const MaterialSlot at = home.opens;
        const auto [effectName, moduleName] = openNames(parts.show, at.module);
        home.core->setEffectNumber(parts.show.currentEffect);
        home.view->Fun_窗体载入(at.module, at.slot, effectName, moduleName);
    };
    r.titleButton = 4;
    r.liveView = kStaticView;
    LiveDmx::ViewOutput still;
    still.streams = true;
    still.compose = [&home](DmxFrame& frame) { home.core->composeStatic(frame); };
    LiveDmx::ViewOutput running;
    running.streams = true;
    running.compose = [&home, &link = parts.link](DmxFrame& frame) {
        const bool jump = link.live().oneTickRequest() == 2;
        home.view->showRun(home.core->composeRun(jump, frame));
    };
    r.liveOutputs = {{kStaticView, still}, {kRunView, running}};
    r.wheelBase = MaterialEditorView::kWheelBase;
    r.wheelStep = [&home](int direction, int channel) {
        home.view->Fun_鼠标滚轮触发(direction, channel);
    };
    r.showReplaced = [&home, &window = parts.window] {
        if (window.currentView() == home.view) home.view->reload();
    };
    return r;
}

}  // namespace kx
