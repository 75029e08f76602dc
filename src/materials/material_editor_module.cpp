#include "materials/material_editor_module.h"

#include "materials/builtin_materials_panel.h"
#include "materials/chase_generator_window.h"
#include "materials/material_editor_view.h"
#include "materials/popup_wiring.h"

namespace kx {

namespace {

constexpr int kStaticView = live_view::kMaterialStatic;
constexpr int kRunView = live_view::kMaterialRun;
// Beside "所有通道联动", below the demonstration button.
constexpr QPoint kUndoButtons{1000, 66};
// The tools open over the faders (where the fixture panel opens too), below the Virtual Fixture
// bar and left of the settings and Temporary Channels.
constexpr QPoint kToolPanelTop{6, 94};

// The editor, its view and tools, and the Module and Slot it opens next.
struct MaterialModule {
    std::unique_ptr<MaterialEditor> core;
    MaterialEditorView* view = nullptr;
    ChaseGeneratorWindow* chase = nullptr;      // "跑马工具"
    BuiltInMaterialsPanel* builtIns = nullptr;  // "标准素材", "个性素材"
    MaterialSlot opens;
};

// The captions' names of the open Effect and of its Module 1-20.
std::pair<QString, QString> openNames(const Show& show, int module) {
    const int e = show.currentEffect;
    if (!isEffectNumber(e)) return {};
    const Effect& fx = show.effects.at(e);
    return {fx.remark, fx.modules[module - 1].remark};
}

MaterialEditorView::Hooks viewHooks(EditorContext& ctx, MaterialModule& m) {
    ControllerLink& link = ctx.link;
    MaterialEditorView::Hooks hooks;
    hooks.setLiveView = [&link](int view) { link.setView(view); };
    hooks.requestJump = [&link] { link.live().oneTickRequest() = 1; };
    hooks.setWheelTarget = [&wheel = ctx.wheel](int target) { wheel.wheelTarget = target; };
    hooks.back = [&host = ctx.host] { host.enter(EditorId::Effects); };
    hooks.chaseTool = [&m] {
        MaterialEditor& core = *m.core;
        m.chase->setMaterial(&core.material(),
                             [&core](const ChaseFields& f) { return core.runChase(f); });
        m.chase->toggle();
    };
    // Runs before the panel hears the same click (it was connected first).
    hooks.builtinMaterials = [&m](int) {
        m.builtIns->setImport(
            [&core = *m.core](const BuiltInEntry& e) { return core.applyBuiltIn(e); });
    };
    return hooks;
}

// The chase generator and the built-in libraries work on the Material the editor shows and open
// over the editor; after they changed it the editor shows it again.
void addTools(EditorContext& ctx, MaterialModule& m) {
    MaterialEditorView* view = m.view;
    m.chase = new ChaseGeneratorWindow(ctx.appearance, view);
    m.chase->move(kToolPanelTop);
    m.chase->hide();
    QObject::connect(m.chase, &ChaseGeneratorWindow::generated, view, [view] { view->reload(); });
    hideOutsideView(ctx.link.live(), kStaticView, m.chase);

    m.builtIns =
        new BuiltInMaterialsPanel(ctx.paths.appSet, ctx.dialogs.prompter, ctx.appearance, view);
    m.builtIns->move(kToolPanelTop);
    m.builtIns->attachLibraryButtons(view->findChild<QAbstractButton*>("Command标准素材"),
                                     view->findChild<QAbstractButton*>("Command个性素材"));
    QObject::connect(m.builtIns, &BuiltInMaterialsPanel::imported, view,
                     [view] { view->reload(); });
}

// Undo and redo reach the editor's Material of any Effect: the bank switch first, then the editor
// to the front on the Material put back.
void addHistory(EditorContext& ctx, MaterialModule& m) {
    Show& show = ctx.show;
    MaterialEditorHistory h;
    h.history = ctx.history;
    h.openEffect = [&show] { return show.currentEffect; };
    h.openBank = [&images = ctx.images](int effect) { return images.open(effect); };
    h.reveal = [&ctx, &m] {
        MaterialEditor& core = *m.core;
        const auto [effectName, moduleName] = openNames(ctx.show, core.module());
        core.setNames(effectName, moduleName);
        core.setEffectNumber(ctx.show.currentEffect);
        m.opens = {core.module(), core.slot()};
        ctx.link.setView(core.demoOpen() ? kRunView : kStaticView);
        ctx.host.showView(m.view);
        ctx.host.setButtonEditor(EditorId::Materials);
        m.view->Fun_所有控件数据刷新();
    };
    m.core->setHistory(std::move(h));
}

}  // namespace

EditorModule makeMaterialEditor(EditorContext& ctx) {
    Show& show = ctx.show;
    auto owned = std::make_shared<MaterialModule>();
    MaterialModule& mm = *owned;
    mm.core = std::make_unique<MaterialEditor>(
        MaterialEditorSources{show.materials, show.library, show.groups, show.functionNames,
                              ctx.materialOutput},
        ctx.paths, ctx.dialogs);
    mm.view = new MaterialEditorView(*mm.core, ctx.dialogs.prompter, ctx.appearance,
                                     {ctx.pictures.faderTrack, ctx.pictures.faderKnob},
                                     viewHooks(ctx, mm));
    addTools(ctx, mm);
    if (ctx.history != nullptr) addHistory(ctx, mm);

    EditorModule m;
    m.id = EditorId::Materials;
    m.title = "素材";
    m.view = mm.view;
    m.enter = [&ctx, &mm] {
        ctx.host.showView(mm.view);
        ctx.host.setButtonEditor(EditorId::Materials);
        const MaterialSlot at = mm.opens;
        const auto [effectName, moduleName] = openNames(ctx.show, at.module);
        mm.core->setEffectNumber(ctx.show.currentEffect);
        mm.view->Fun_窗体载入(at.module, at.slot, effectName, moduleName);
    };
    m.open = [&mm, enter = m.enter](const std::any& at) {
        if (const auto* slot = std::any_cast<MaterialSlot>(&at)) mm.opens = *slot;
        enter();
    };
    m.titleButton = title_button::kShow;
    m.liveView = kStaticView;
    LiveDmx::ViewOutput still;
    still.streams = true;
    still.compose = [&mm](DmxFrame& frame) { mm.core->composeStatic(frame); };
    LiveDmx::ViewOutput running;
    running.streams = true;
    running.compose = [&mm, &live = ctx.link.live()](DmxFrame& frame) {
        const bool jump = live.oneTickRequest() == 2;
        mm.view->showRun(mm.core->composeRun(jump, frame));
    };
    // The demonstration shows its run in the editor, connected or not.
    running.worksOffline = [] { return true; };
    m.liveOutputs = {{kStaticView, still}, {kRunView, running}};
    m.wheelBase = MaterialEditorView::kWheelBase;
    m.wheelStep = [&mm](int direction, int channel) {
        mm.view->Fun_鼠标滚轮触发(direction, channel);
    };
    m.undoButtons = kUndoButtons;
    m.showReplaced = [&mm, &host = ctx.host] {
        if (host.currentView() == mm.view) mm.view->reload();
    };
    m.keeps = std::move(owned);
    return m;
}

}  // namespace kx
