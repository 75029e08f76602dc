#include "app/effect_editor_registration.h"

#include "app/live_views.h"
#include "effects/effect_output.h"

namespace kx {

namespace {

// Beside the Effect file buttons, where the Effect settings have room.
constexpr QPoint kUndoButtons{1150, 143};

}  // namespace

EditorRegistration effectEditorRegistration(EffectEditorParts parts, EffectEditorView*& view) {
    EditorRegistration r;
    r.id = EditorId::Effects;
    r.title = "效果";
    r.makeView = [parts, &view] {
        Show& show = parts.show;
        EffectEditorModel model{show.effects,
                                show.materials,
                                show.currentEffect,
                                show.library,
                                parts.images,
                                parts.engine,
                                parts.link.live().oneTickRequest()};
        view = new EffectEditorView(
            model, {parts.appearance, parts.dialogs, parts.showView, parts.titleEffectMode,
                    parts.reenter, parts.openMaterialEditor, parts.returnToScenes});
        if (parts.undo != nullptr) {
            // In front it is only redrawn: entering again would restart the run positions and
            // forget the Bar copy.
            view->editor().setHistory(&parts.undo->history(), [&view, reenter = parts.reenter] {
                if (view->isVisible()) {
                    view->showRestored();
                } else {
                    reenter();
                }
            });
            parts.undo->addButtons(view, kUndoButtons);
        }
        return view;
    };
    // The editor works on the open Effect; without one the Scene editor is where one is chosen.
    r.enter = [&view, &show = parts.show, back = parts.returnToScenes] {
        if (isEffectNumber(show.currentEffect)) {
            view->Fun_窗体载入();
        } else {
            back();
        }
    };
    r.titleButton = 4;
    r.liveView = live_view::kEffectEditor;
    LiveDmx::ViewOutput preview;
    preview.streams = true;
    preview.compose = [&view, &show = parts.show, &engine = parts.engine,
                       &live = parts.link.live()](DmxFrame& frame) {
        EffectEditor& editor = view->editor();
        JumpRequest jump{live.oneTickRequest()};
        effectOutputTick(show.currentEffect, show.effects, show.materials, editor.position(),
                         show.library, engine, jump, editor.drum(), frame);
        live.oneTickRequest() = jump.state;
    };
    r.liveOutputs = {{live_view::kEffectEditor, preview}};
    r.showReplaced = [&view] {
        view->Fun_素材备注_控件显示();
        view->Fun_所有控件数据刷新();
    };
    return r;
}

}  // namespace kx
