#include "app/scene_editor_registration.h"

#include "app/live_views.h"
#include "effects/effect_undo.h"

namespace kx {

namespace {

constexpr int kSceneEditorReplyOrder = 4;
// Below the effector sound box.
constexpr QPoint kUndoButtons{1158, 600};

}  // namespace

EditorRegistration sceneEditorRegistration(SceneEditorParts parts, SceneEditorView*& view) {
    EditorRegistration r;
    r.id = EditorId::Scenes;
    r.title = "场景";
    r.makeView = [parts, &view] {
        Show& show = parts.show;
        EffectImages& images = parts.images;
        Prompter& prompter = parts.dialogs.prompter;
        auto files = [&show, &images] {
            return EffectFilesContext{show.effects, show.materials, show.currentEffect,
                                      show.library, images};
        };
        SceneEditorView::Services services{
            parts.appearance,
            prompter,
            parts.showView,
            parts.titleSceneMode,
            [&show, &images, &prompter, enter = parts.enterEffectEditor](int effect) {
                // The open bank goes to its image before another Effect's is loaded; a bank that
                // cannot be kept stays open and the switch is refused.
                if (effect != show.currentEffect) {
                    const Outcome switched = images.open(effect);
                    if (!switched.done) {
                        if (!switched.message.isEmpty()) prompter.message(switched.message);
                        return;
                    }
                }
                enter();
            },
            [files, dialogs = parts.dialogs, undo = parts.undo, enter = parts.enterSceneEditor] {
                EffectFilesContext ctx = files();
                return importAllEffects(ctx, dialogs, undo != nullptr ? &undo->history() : nullptr,
                                        enter);
            },
            [files, dialogs = parts.dialogs] {
                EffectFilesContext ctx = files();
                return exportAllEffects(ctx, dialogs);
            },
            [&link = parts.link](bool on) {
                link.sendHexText(on ? kSceneReportOnText : kSceneReportOffText);
            },
            [&show] { return static_cast<int>(show.room.audioFollowMode); }};
        view = new SceneEditorView(show.scenes, show.effects, parts.paths.workSet, services);
        if (parts.undo != nullptr) {
            view->editor().setHistory(&parts.undo->history(), parts.enterSceneEditor);
            parts.undo->addButtons(view, kUndoButtons);
        }
        return view;
    };
    r.enter = [&view] { view->Fun_窗体载入(); };
    r.titleButton = 4;
    r.startsOnButton = true;
    r.liveView = live_view::kSceneEditor;
    LiveDmx::ViewOutput frames;
    frames.streams = true;
    r.liveOutputs = {{live_view::kSceneEditor, frames}};
    r.onReply = [&view](std::uint8_t code, std::span<const std::uint8_t> data) {
        view->Fun_接收场景关联(code, data);
    };
    r.replyOrder = kSceneEditorReplyOrder;
    r.showReplaced = [&view] { view->Fun_场景选择_控件显示(); };
    return r;
}

}  // namespace kx
