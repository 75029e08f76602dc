#pragma once

#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include "app/editor_install.h"
#include "link/link_fixture.h"

namespace kx::test {

// The main window and its shell on a link to the simulated Controller, with editors plugged in by
// their registrations as the program plugs them in.
class ShellFixture : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        paths = AppPaths::under(dir.path());
        shell = std::make_unique<MainShell>(window, paths, appearance);
    }

    void install(std::vector<EditorRegistration> list) {
        InstalledEditors installed = installEditors(std::move(list), *link, wheel, window);
        showReplaced = std::move(installed.showReplaced);
        shell->createViews(std::move(installed.entries));
    }

    QTemporaryDir dir;
    AppPaths paths;
    Appearance appearance;
    MainWindow window{[] {}, platform};
    WheelRouter wheel;
    std::unique_ptr<MainShell> shell;
    std::vector<std::function<void()>> showReplaced;
};

}  // namespace kx::test
