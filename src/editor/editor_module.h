#pragma once

#include <QPoint>
#include <QString>
#include <QWidget>
#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "editor/editor_context.h"
#include "editor/editor_table.h"
#include "link/live_dmx.h"
#include "shell/wheel.h"

namespace kx {

// The main loop's tiers an editor may do periodic work in.
enum class Tier {
    Every10ms,   // the drum-beat indicator
    Every250ms,  // the beat-correspondence warning
};

struct PeriodicWork {
    Tier tier;
    std::function<void()> run;
    // Whether run has anything to do now; while no module's work is busy the tier does not wake
    // the program. None: always.
    std::function<bool()> busy;
};

// The title bar's buttons that lead to no view of their own: whichever module takes one answers
// its click.
enum class TitleAction {
    Counters,          // a double click on the datagram counters
    Upgrade,           // "升级程序"
    DeveloperConsole,  // shown in developer mode
    Monitor,           // the DMX monitor
};

// One editor, or any other view or window, as the program plugs it in: a module's factory
// (EditorModule makeXxx(EditorContext&)) makes its core and view and returns everything the
// program needs of it. Only what the module has is filled in.
struct EditorModule {
    EditorId id;
    QString title;  // shown by the title bar button and a placeholder
    // The view below the title bar; none: the module brings only a window of its own.
    QWidget* view = nullptr;
    // The entry operation (Fun_窗体载入), run after the live output was told liveView; without
    // one the view is brought to the front.
    std::function<void()> enter;
    // How another editor leads here at a place (see the module's header); without it, enter.
    std::function<void(const std::any& at)> open;

    // The title bar function button that leads here (0: none). Several editors may share one
    // button; it leads to the one last chosen for it, at first to the one that startsOnButton.
    int titleButton = 0;
    bool startsOnButton = false;
    QString buttonCaption;  // the button's text while it leads here ("": the title)
    std::vector<std::pair<TitleAction, std::function<void()>>> titleActions;

    // The live output: the view number entering tells it, and what each of the module's view
    // numbers does (an editor may switch between several, e.g. static and running Materials).
    int liveView = 0;
    std::vector<std::pair<int, LiveDmx::ViewOutput>> liveOutputs;

    // Controller replies the module takes, offered in replyOrder among the modules.
    std::function<void(std::uint8_t code, std::span<const std::uint8_t> data)> onReply;
    int replyOrder = 0;

    // Wheel channels: wheelBase + n is the editor's channel n.
    int wheelBase = 0;
    WheelRouter::StepHandler wheelStep;

    std::vector<PeriodicWork> periodic;

    // Where on the view the undo and redo buttons sit (none: the editor records no stores).
    std::optional<QPoint> undoButtons;

    // A load replaced the whole show: the module shows the new one.
    std::function<void()> showReplaced;
    // The program ends: the module hides any window of its own.
    std::function<void()> closing;

    // What the module owns besides the widgets Qt owns.
    std::shared_ptr<void> keeps;
};

using EditorFactory = EditorModule (*)(EditorContext&);

}  // namespace kx
