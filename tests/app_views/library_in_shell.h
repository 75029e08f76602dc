#pragma once

#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <vector>

#include "app/editor_install.h"
#include "app/fixture_library_registration.h"
#include "link/link_fixture.h"

namespace kx::test {

// The technician's answers to the editor's questions and file dialogs, in order; none left: No
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

// The Fixture Library editor plugged into a main window's shell over the link, as the program
// plugs it in, its stores recorded in the edit history; the show has the default Channel Function
// names.
class LibraryInShell : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        paths = AppPaths::under(dir.path());
        show.functionNames = defaultChannelFunctionNames();
        shell = std::make_unique<MainShell>(window, paths, appearance);
        FixtureLibraryView::Services services{appearance,
                                              shell->pictures(),
                                              wheel,
                                              {answers, platform},
                                              [this](QWidget* v) { window.showView(v); },
                                              [this] { shell->enter(EditorId::FixtureLibrary); }};
        InstalledEditors installed = installEditors(
            {fixtureLibraryRegistration(show, paths, services, view, &undo)}, *link, wheel, window);
        shell->createViews(std::move(installed.entries));
    }

    // Patches fixture (page, n) with these test values (adjust values 100 above them) and, when
    // given, these Channel Functions.
    void patch(int page, int n, int port, int address, std::vector<std::uint8_t> values,
               std::vector<std::uint8_t> functions = {}) {
        Fixture& f = show.library.at(page, n);
        f.port = static_cast<std::uint8_t>(port);
        f.startAddress = static_cast<std::int16_t>(address);
        f.channelCount = static_cast<std::uint8_t>(values.size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            f.testValues[i] = values[i];
            f.adjustValues[i] = static_cast<std::uint8_t>(values[i] + 100);
            if (i < functions.size()) f.functions[i] = functions[i];
        }
    }

    QTemporaryDir dir;
    AppPaths paths;
    Appearance appearance;
    ScriptedAnswers answers;
    Show show;
    MainWindow window{[] {}, platform};
    EditHistory history;
    UndoActions undo{history, platform};
    WheelRouter wheel;
    std::unique_ptr<MainShell> shell;
    FixtureLibraryView* view = nullptr;
};

}  // namespace kx::test
