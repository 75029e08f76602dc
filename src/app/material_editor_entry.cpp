#include "app/material_editor_entry.h"

namespace kx {

namespace {

constexpr int kStaticView = 7;
constexpr int kRunView = 8;

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
        const PictureStore& pictures = parts.shell.pictures();
        home.view =
            new MaterialEditorView(*home.core, parts.dialogs.prompter, parts.appearance,
                                   {pictures.faderTrack, pictures.faderKnob}, std::move(hooks));
        return home.view;
    };
    r.enter = [&home, parts] {
        parts.window.showView(home.view);
        parts.shell.setButtonEditor(EditorId::Materials);
        const int e = parts.show.currentEffect;
        const Effect* fx = isEffectNumber(e) ? &parts.show.effects.at(e) : nullptr;
        const MaterialSlot at = home.opens;
        home.view->Fun_窗体载入(at.module, at.slot, fx ? fx->remark : QString(),
                                fx ? fx->modules[at.module - 1].remark : QString());
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
