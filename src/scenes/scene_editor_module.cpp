#include "scenes/scene_editor_module.h"

#include "effects/effect_undo.h"
#include "scenes/scene_editor_view.h"

namespace kx {

namespace {

// The Effect buttons: the open bank goes to its image before another Effect's is loaded; a bank
// that cannot be kept stays open and the switch is refused.
void openEffect(EditorContext& ctx, int effect) {
    if (effect != ctx.show.currentEffect) {
        const Outcome switched = ctx.images.open(effect);
        if (!switched.done) {
            if (!switched.message.isEmpty()) ctx.dialogs.prompter.message(switched.message);
            return;
        }
    }
    ctx.host.enter(EditorId::Effects);
}

EffectFilesContext effectFiles(EditorContext& ctx) {
    Show& show = ctx.show;
    return {show.effects, show.materials, show.currentEffect, show.library, ctx.images};
}

}  // namespace

EditorModule makeSceneEditor(EditorContext& ctx) {
    Show& show = ctx.show;
    EditorHost& host = ctx.host;
    ControllerLink& link = ctx.link;
    auto enterScenes = [&host] { host.enter(EditorId::Scenes); };
    auto* view = new SceneEditorView(
        show.scenes, show.effects, ctx.paths.workSet,
        {.appearance = ctx.appearance,
         .prompter = ctx.dialogs.prompter,
         .showView = [&host](QWidget* v) { host.showView(v); },
         .titleSceneMode = [&host] { host.setButtonEditor(EditorId::Scenes); },
         .openEffect = [&ctx](int effect) { openEffect(ctx, effect); },
         .importAllEffects =
             [&ctx, enterScenes] {
                 EffectFilesContext files = effectFiles(ctx);
                 return importAllEffects(files, ctx.dialogs, ctx.history, enterScenes);
             },
         .exportAllEffects =
             [&ctx] {
                 EffectFilesContext files = effectFiles(ctx);
                 return exportAllEffects(files, ctx.dialogs);
             },
         .sceneReports =
             [&link](bool on) { link.sendHexText(on ? kSceneReportOnText : kSceneReportOffText); },
         .audioFollowMode = [&show] { return static_cast<int>(show.room.audioFollowMode); }});
    if (ctx.history != nullptr) view->editor().setHistory(ctx.history, enterScenes);

    EditorModule m;
    m.id = EditorId::Scenes;
    m.title = "场景";
    m.view = view;
    m.enter = [view] { view->Fun_窗体载入(); };
    m.titleButton = title_button::kShow;
    m.startsOnButton = true;
    m.liveView = live_view::kSceneEditor;
    LiveDmx::ViewOutput frames;
    frames.streams = true;
    m.liveOutputs = {{live_view::kSceneEditor, frames}};
    m.onReply = [view](std::uint8_t code, std::span<const std::uint8_t> data) {
        view->Fun_接收场景关联(code, data);
    };
    m.replyOrder = reply_order::kSceneEditor;
    // Below the effector sound box.
    m.undoButtons = QPoint{1158, 600};
    m.showReplaced = [view] { view->Fun_场景选择_控件显示(); };
    return m;
}

}  // namespace kx
