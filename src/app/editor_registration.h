#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "link/live_dmx.h"
#include "shell/wheel.h"

namespace kx {

// The views below the title bar.
enum class EditorId {
    FixtureLibrary,
    Effects,
    Materials,
    FirmwareUpgrade,
    Download,
    Scenes,
    RoomControl,
    TestConsole,
    IrLearning,
};

// Everything the program needs to know of one editor (or any other view below the title bar),
// in one place: the application's list of these is the only spot that names the editors.
struct EditorRegistration {
    EditorId id;
    QString title;  // shown by the title bar button and a placeholder
    // The view, made once at start-up (a placeholder while the editor is not built).
    std::function<QWidget*()> makeView;
    // The entry operation (Fun_窗体载入), run after the live output was told liveView; without
    // one the view is brought to the front.
    std::function<void()> enter;

    // The title bar function button that leads here (0: none). Several editors may share one
    // button; it leads to the one last chosen for it, at first to the one that startsOnButton.
    int titleButton = 0;
    bool startsOnButton = false;
    QString buttonCaption;  // the button's text while it leads here ("": the title)

    // The live output: the view number entering tells it, and what each of the editor's view
    // numbers does (an editor may switch between several, e.g. static and running Materials).
    int liveView = 0;
    std::vector<std::pair<int, LiveDmx::ViewOutput>> liveOutputs;

    // Controller replies the editor takes, offered in replyOrder among the editors.
    std::function<void(std::uint8_t code, std::span<const std::uint8_t> data)> onReply;
    int replyOrder = 0;

    // Wheel channels: wheelBase + n is the editor's channel n.
    int wheelBase = 0;
    WheelRouter::StepHandler wheelStep;

    // A load replaced the whole show: the editor shows the new one.
    std::function<void()> showReplaced;
};

}  // namespace kx
