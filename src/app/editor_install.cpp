#include "app/editor_install.h"

#include <algorithm>

namespace kx {

std::vector<MainShell::Entry> installModules(std::vector<EditorModule>& modules,
                                             ControllerLink& link, WheelRouter& wheel,
                                             MainWindow& window, UndoActions* undo) {
    std::vector<MainShell::Entry> entries;
    for (EditorModule& m : modules) {
        for (auto& [number, output] : m.liveOutputs)
            link.live().defineView(number, std::move(output));
        if (m.onReply) link.addReplyHandler(m.onReply, m.replyOrder);
        if (m.wheelStep) wheel.addTargets(m.wheelBase, m.wheelStep);
        if (undo != nullptr && m.view != nullptr && m.undoButtons)
            undo->addButtons(m.view, *m.undoButtons);
        MainShell::Entry e;
        e.id = m.id;
        e.title = m.title;
        e.view = m.view;
        e.titleButton = m.titleButton;
        e.startsOnButton = m.startsOnButton;
        e.buttonCaption = m.buttonCaption;
        auto tell = [&link, liveView = m.liveView] {
            if (liveView != 0) link.setView(liveView);
        };
        e.enter = [tell, &window, view = m.view, enter = m.enter] {
            tell();
            if (enter) {
                enter();
            } else if (view != nullptr) {
                window.showView(view);
            }
        };
        if (m.open) {
            e.open = [tell, open = m.open](const std::any& at) {
                tell();
                open(at);
            };
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

void connectTitleActions(TitleBarView& bar, const std::vector<EditorModule>& modules) {
    const std::pair<TitleAction, void (TitleBarView::*)()> kSignals[] = {
        {TitleAction::Counters, &TitleBarView::countersDoubleClicked},
        {TitleAction::Upgrade, &TitleBarView::upgradeClicked},
        {TitleAction::DeveloperConsole, &TitleBarView::developerConsoleClicked},
        {TitleAction::Monitor, &TitleBarView::monitorClicked},
    };
    for (const EditorModule& m : modules)
        for (const auto& [action, run] : m.titleActions)
            for (const auto& [taken, signal] : kSignals)
                if (taken == action) QObject::connect(&bar, signal, &bar, run);
}

std::function<void()> periodicWork(const std::vector<EditorModule>& modules, Tier tier) {
    std::vector<std::function<void()>> work;
    for (const EditorModule& m : modules)
        for (const PeriodicWork& p : m.periodic)
            if (p.tier == tier) work.push_back(p.run);
    if (work.empty()) return {};
    return [work = std::move(work)] {
        for (const auto& run : work)
            run();
    };
}

std::function<bool()> periodicBusy(const std::vector<EditorModule>& modules, Tier tier) {
    std::vector<std::function<bool()>> tests;
    for (const EditorModule& m : modules)
        for (const PeriodicWork& p : m.periodic) {
            if (p.tier != tier) continue;
            if (!p.busy) return {};
            tests.push_back(p.busy);
        }
    return [tests = std::move(tests)] {
        return std::ranges::any_of(tests, [](const auto& busy) { return busy(); });
    };
}

}  // namespace kx
