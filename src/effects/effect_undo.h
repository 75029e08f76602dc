#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstddef>
#include <functional>

#include "base/dialogs.h"
#include "base/table_edit.h"
#include "effects/effect_files.h"
#include "effects/effect_model.h"
#include "materials/material.h"
#include "materials/material_bank_file.h"

namespace kx {

// The tables the edit history keeps of the Effects: one Effect; one Effect with its Material Bank
// (the stores that rewrite the open Effect's Materials too); and every Effect with every Material
// (an import of all Effects).

std::size_t snapshotBytes(const Effect& fx);

struct EffectWithBank {
    Effect effect;
    MaterialBank bank;

    bool operator==(const EffectWithBank&) const = default;
};
std::size_t snapshotBytes(const EffectWithBank& s);

struct AllEffectsState {
    EffectTable effects;
    MaterialBank bank;                            // the open Effect's
    int currentEffect = 0;                        // 0 none open
    std::array<QByteArray, kEffectCount> images;  // Effect e's image at e - 1

    bool operator==(const AllEffectsState&) const = default;
};
std::size_t snapshotBytes(const AllEffectsState& s);

AllEffectsState takeAllEffects(const EffectFilesContext& ctx);
// Puts every Effect, the open bank and every image back. When an image cannot be kept the images
// written so far are put back as they were and nothing else changes: refused with
// "素材保存失败！！！".
Outcome restoreAllEffects(const AllEffectsState& state, EffectFilesContext& ctx);

inline const QString kImportAllEffectsEdit = QStringLiteral("导入全部效果");

// "导入全部效果" as one entry of the history (none: not recorded); reveal shows the result of
// putting it back.
Outcome importAllEffects(EffectFilesContext& ctx, const FileDialogs& dialogs, EditHistory* history,
                         std::function<void()> reveal);

}  // namespace kx
