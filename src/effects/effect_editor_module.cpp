#include "effects/effect_editor_module.h"

#include "effects/effect_editor_view.h"
#include "effects/effect_output.h"

namespace kx {

EditorModule makeEffectEditor(EditorContext& ctx) {
    Show& show = ctx.show;
    EditorHost& host = ctx.host;
    LiveDmx& live = ctx.link.live();
    MaterialOutput& engine = ctx.materialOutput;
    // The Slot buttons ask the view where the editor stands; the view exists only after them.
    auto self = std::make_shared<EffectEditorView*>(nullptr);
    auto* view = new EffectEditorView(
        {show.effects, show.materials, show.currentEffect, show.library, ctx.images, engine,
         live.oneTickRequest()},
        {.appearance = ctx.appearance,
         .dialogs = ctx.dialogs,
         .showView = [&host](QWidget* v) { host.showView(v); },
         .titleEffectMode = [&host] { host.setButtonEditor(EditorId::Effects); },
         .reenter = [&host] { host.enter(EditorId::Effects); },
         .openMaterialEditor =
             [&host, self] {
                 const EffectEditorPosition& at = (*self)->editor().position();
                 host.open(EditorId::Materials, MaterialSlot{at.module, at.slot});
             },
         .returnToScenes = [&host] { host.enter(EditorId::Scenes); }});
    *self = view;
    if (ctx.history != nullptr) {
        // In front it is only redrawn: entering again would restart the run positions and forget
        // the Bar copy.
        view->editor().setHistory(ctx.history, [view, &host] {
            if (view->isVisible()) {
                view->showRestored();
            } else {
                host.enter(EditorId::Effects);
            }
        });
    }

    EditorModule m;
    m.id = EditorId::Effects;
    m.title = "效果";
    m.view = view;
    // The editor works on the open Effect; without one the Scene editor is where one is chosen.
    m.enter = [view, &show, &host] {
        if (isEffectNumber(show.currentEffect)) {
            view->Fun_窗体载入();
        } else {
            host.enter(EditorId::Scenes);
        }
    };
    m.titleButton = title_button::kShow;
    m.liveView = live_view::kEffectEditor;
    LiveDmx::ViewOutput preview;
    preview.streams = true;
    preview.compose = [view, &show, &engine, &live](DmxFrame& frame) {
        EffectEditor& editor = view->editor();
        JumpRequest jump{live.oneTickRequest()};
        effectOutputTick(show.currentEffect, show.effects, show.materials, editor.position(),
                         show.library, engine, jump, editor.drum(), frame);
        live.oneTickRequest() = jump.state;
    };
    // Offline only the automatic drum shows: its beats light the indicator.
    preview.worksOffline = [view] { return view->editor().drum().automatic.mode != AutoDrum::Off; };
    m.liveOutputs = {{live_view::kEffectEditor, preview}};
    const auto inFront = [&live] { return live.view() == live_view::kEffectEditor; };
    m.periodic = {{Tier::Every10ms, [view] { view->Fun_模拟鼓点颜色显示(); },
                   [view] { return view->drumIndicatorBusy(); }},
                  {Tier::Every250ms,
                   [view, inFront] {
                       if (inFront()) view->Fun_拍子对应_有错显示();
                   },
                   [view, inFront] { return inFront() && view->correspondenceWarningBusy(); }}};
    // Beside the Effect file buttons, where the Effect settings have room.
    m.undoButtons = QPoint{1150, 143};
    m.showReplaced = [view] {
        view->Fun_素材备注_控件显示();
        view->Fun_所有控件数据刷新();
    };
    return m;
}

}  // namespace kx
