#pragma once

#include <QString>
#include <functional>

#include "base/edit_history.h"
#include "base/outcome.h"
#include "fixtures/fixture_groups.h"
#include "fixtures/fixture_library.h"
#include "materials/material.h"
#include "materials/material_output.h"

namespace kx {

inline const QString kMsgAskDeleteMaterial = QStringLiteral("是否删除素材?");

// What the Material window works on, in the show: the open Effect's bank (the edited Material is
// one of its Materials), the library, groups and Channel Function names it patches and defines
// with, and the output engine its previews run through.
struct MaterialEditorSources {
    MaterialBank& bank;
    const FixtureLibrary& library;
    FixtureGroups& groups;
    const ChannelFunctionNames& names;
    MaterialOutput& output;
};

// Where the Material window's stores are recorded, and what it needs to put a Material back: the
// bank it edits is the open Effect's, so an entry of another Effect's Material opens that Effect
// first (a switch that cannot keep the open bank is refused with its message).
struct MaterialEditorHistory {
    EditHistory* history = nullptr;
    std::function<int()> openEffect;
    std::function<Outcome(int effect)> openBank;
    // The window to the front, showing the Material put back.
    std::function<void()> reveal;
};

}  // namespace kx
