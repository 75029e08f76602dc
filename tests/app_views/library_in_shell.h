#pragma once

#include <vector>

#include "fixtures/fixture_library_module.h"
#include "fixtures/fixture_library_view.h"
#include "shell_fixture.h"

namespace kx::test {

// The Fixture Library editor plugged into a main window's shell over the link, as the program
// plugs it in, its stores recorded in the edit history; the show has the default Channel Function
// names.
class LibraryInShell : public ShellFixture {
  protected:
    void SetUp() override {
        ShellFixture::SetUp();
        show.functionNames = defaultChannelFunctionNames();
        install({makeFixtureLibraryEditor(context(&answers))});
        view = viewOf<FixtureLibraryView>(EditorId::FixtureLibrary);
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

    ScriptedAnswers answers;
    FixtureLibraryView* view = nullptr;
};

}  // namespace kx::test
