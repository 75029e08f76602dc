#pragma once

#include <QTemporaryDir>
#include <deque>
#include <list>
#include <memory>
#include <vector>

#include "app/editor_install.h"
#include "app/placeholder_view.h"
#include "app/shell_host.h"
#include "link/link_fixture.h"

namespace kx::test {

// The technician's answers to the editors' questions and file dialogs, in order; none left: No
// and cancelled.
struct ScriptedAnswers : Prompter {
    void message(const QString& text) override { messages << text; }
    bool askYesNo(const QString&) override {
        if (yesNo.empty()) return false;
        const bool answer = yesNo.front();
        yesNo.pop_front();
        return answer;
    }
    QString fileDialog(const FileDialog&) override {
        if (paths.empty()) return {};
        QString answer = paths.front();
        paths.pop_front();
        return answer;
    }

    std::deque<bool> yesNo;
    std::deque<QString> paths;
    QStringList messages;
};

// The main window and its shell on a link to the simulated Controller, with a show and all else
// an editor module is made of, and modules plugged in as the program plugs them in (their stores
// recorded for undo).
class ShellFixture : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        paths = AppPaths::under(dir.path());
        shell = std::make_unique<MainShell>(window, paths, appearance);
        host = std::make_unique<ShellHost>(*shell, developer);
        transfer = std::make_unique<FileTransfer>(*link);
        showFile =
            std::make_unique<ShowFile>(makeShowFile(show, images, paths, {platform, platform}));
    }

    // What the modules are made of; their questions and file dialogs go to prompter (none: the
    // platform, answering No). It lives as long as the fixture.
    EditorContext& context(Prompter* prompter = nullptr) {
        return contexts.emplace_back(
            EditorContext{.show = show,
                          .images = images,
                          .materialOutput = engine,
                          .showFile = *showFile,
                          .paths = paths,
                          .appearance = appearance,
                          .pictures = shell->pictures(),
                          .dialogs = {prompter != nullptr ? *prompter : platform, platform},
                          .link = *link,
                          .transfer = *transfer,
                          .wheel = wheel,
                          .history = &history,
                          .host = *host});
    }

    void install(std::vector<EditorModule> list) {
        shell->createViews(installModules(list, *link, wheel, window, &undo));
        for (EditorModule& m : list)
            modules.push_back(std::move(m));
    }

    // A plain view standing in for an editor.
    static EditorModule placeholder(EditorId id, const QString& title, int button,
                                    const QString& name = {}) {
        EditorModule m;
        m.id = id;
        m.title = title;
        m.titleButton = button;
        m.view = new PlaceholderView(name.isEmpty() ? "View" + title : name, title);
        return m;
    }

    template <typename View>
    View* viewOf(EditorId id) {
        return static_cast<View*>(shell->view(id));
    }
    void replaceShow() {
        for (const EditorModule& m : modules)
            if (m.showReplaced) m.showReplaced();
    }

    QTemporaryDir dir;
    AppPaths paths;
    Appearance appearance;
    Show show;
    EffectImages images{show, AppPaths::under(dir.path())};
    MaterialOutput engine;
    EditHistory history;
    UndoActions undo{history, platform};
    WheelRouter wheel;
    DeveloperMode developer;
    // Before the window, as in the program: the views the window deletes use them to the end.
    std::unique_ptr<FileTransfer> transfer;
    std::unique_ptr<ShowFile> showFile;
    // Before the window: a module's core outlives the view the window deletes, as in the program.
    std::vector<EditorModule> modules;
    MainWindow window{[] {}, platform};
    std::unique_ptr<MainShell> shell;
    std::unique_ptr<ShellHost> host;
    std::list<EditorContext> contexts;
};

}  // namespace kx::test
