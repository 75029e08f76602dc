#pragma once

#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "app/editor_install.h"
#include "app/fixture_library_registration.h"
#include "link/link_fixture.h"

namespace kx::test {

// The Fixture Library editor plugged into a main window's shell over the link, as the program
// plugs it in; the show has the default Channel Function names.
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
                                              {platform, platform},
                                              [this](QWidget* v) { window.showView(v); },
                                              [this] { shell->enter(EditorId::FixtureLibrary); }};
        InstalledEditors installed = installEditors(
            {fixtureLibraryRegistration(show, paths, services, view)}, *link, wheel, window);
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
    Show show;
    MainWindow window{[] {}, platform};
    WheelRouter wheel;
    std::unique_ptr<MainShell> shell;
    FixtureLibraryView* view = nullptr;
};

}  // namespace kx::test
