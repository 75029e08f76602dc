#include "app/fixture_library_registration.h"

#include "app/live_views.h"

namespace kx {

namespace {

// Below "只显示当前灯具", right of the channel faders.
constexpr QPoint kUndoButtons{1150, 600};

}  // namespace

EditorRegistration fixtureLibraryRegistration(Show& show, const AppPaths& paths,
                                              FixtureLibraryView::Services services,
                                              FixtureLibraryView*& view, UndoActions* undo) {
    EditorRegistration r;
    r.id = EditorId::FixtureLibrary;
    r.title = "灯库";
    r.makeView = [&show, &paths, services, &view, undo] {
        view =
            new FixtureLibraryView(show.library, show.groups, show.functionNames, paths, services);
        if (undo != nullptr) {
            view->editor().setHistory(&undo->history(), [&view] { view->showRestored(); });
            undo->addButtons(view, kUndoButtons);
        }
        return view;
    };
    r.enter = [&view] { view->Fun_窗体载入(); };
    r.titleButton = 3;
    r.liveView = live_view::kFixtureLibrary;
    LiveDmx::ViewOutput preview;
    preview.streams = true;
    preview.compose = [&show, &view](DmxFrame& frame) {
        composeFixturePreview(show.library, show.groups, view->editor().state().preview, frame);
    };
    r.liveOutputs = {{live_view::kFixtureLibrary, preview}};
    r.wheelBase = kLibraryWheelBase;
    r.wheelStep = [&view](int direction, int channel) {
        view->Fun_鼠标滚轮触发(direction, channel);
    };
    r.showReplaced = [&view] { view->Fun_灯库_灯具_显示(); };
    return r;
}

}  // namespace kx
