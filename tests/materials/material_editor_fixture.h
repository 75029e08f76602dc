#pragma once

#include <memory>

#include "materials/material_editor.h"
#include "support/fake_platform.h"

namespace kx::test {

// What the Material window works on, for a test: a bank, library, groups, names and output
// engine, the window's rules over them, and the fake platform's folder and dialogs. The edited
// Material is Module 1, Slot 1.
class MaterialEditorFixture : public FakePlatformTest {
  protected:
    MaterialEditorFixture()
        : paths(AppPaths::under(fake.dir.path())),
          editor({*bank, lib, groups, names, output}, paths, {fake, fake}) {}

    Material& m() { return bank->at(1, 1); }

    std::unique_ptr<MaterialBank> bank = std::make_unique<MaterialBank>();
    FixtureLibrary lib;
    FixtureGroups groups;
    ChannelFunctionNames names = defaultChannelFunctionNames();
    MaterialOutput output;
    AppPaths paths;
    MaterialEditor editor;
};

}  // namespace kx::test
