#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <memory>
#include <optional>

#include "base/dialogs.h"
#include "base/outcome.h"
#include "effects/effect_model.h"
#include "fixtures/fixture_library.h"
#include "materials/material.h"
#include "materials/materials_section.h"

namespace kx {

// The Effect exchange files: all Effects with all Material Banks (K_AXG), one Effect with its
// bank (K_1XG) and one Module with its twelve Materials (K_1MK). Builders give the file bytes;
// parsers fill staging objects that the commit functions put into the live models, so a damaged
// file changes nothing.

inline const QString kAllEffectsTag = QStringLiteral("F1042701");
inline const QString kSingleEffectTag = QStringLiteral("F1042901");
inline const QString kModuleFileTag = QStringLiteral("F1043001");
inline const QString kModulePageListTag = QStringLiteral("23042602");
inline const QString kAllEffectsExt = QStringLiteral("K_AXG");
inline const QString kSingleEffectExt = QStringLiteral("K_1XG");
inline const QString kModuleExt = QStringLiteral("K_1MK");
inline constexpr int kEffectFileCapacity = 4'194'305;
inline constexpr int kModuleRemarkPosition = 43;  // behind the tag and the 13 positions
inline constexpr int kModuleSettingsSize = 200;
inline constexpr int kModulePagePosition = 150;      // P: the page-list marker
inline constexpr int kModulePageListPosition = 154;  // Q: the twelve Page Block positions

inline const QString kMsgFileError = QStringLiteral("文件错误！！！");
inline const QString kMsgFileSaveFailed = QStringLiteral("文件保存失败！");
inline const QString kMsgAskOverwriteEffects = QStringLiteral("是否覆盖现在的所有效果 ？");

// K_AXG: the tag, a 200-byte section directory, section 11 (every bank, rebuilt as a Show File
// save does: the open bank is written to its image first) and section 12. Nothing when it does
// not fit.
std::optional<QByteArray> buildAllEffectsFile(const EffectTable& effects, MaterialBank& bank,
                                              int currentEffect, const FixtureLibrary& lib,
                                              EffectImageStore& images);
struct StagedAllEffects {
    EffectTable effects;
    StagedEffectImages images;
};
ParseResult parseAllEffectsFile(const QByteArray& bytes, StagedAllEffects& out);
// Replaces every Effect and every image; no Effect is open afterwards and the bank is empty.
// False when an image could not be kept.
bool commitAllEffects(const StagedAllEffects& staged, EffectTable& effects, MaterialBank& bank,
                      int& currentEffect, EffectImageStore& images);

// K_1XG: the tag, 20 zero bytes, the body and bank positions, the Effect record, the bank record.
std::optional<QByteArray> buildSingleEffectFile(const Effect& fx, const MaterialBank& bank,
                                                const FixtureLibrary& lib);
struct StagedEffect {
    Effect effect;
    MaterialBank bank;
};
ParseResult parseSingleEffectFile(const QByteArray& bytes, StagedEffect& out);
// Effect `effect` (the open one) and the bank take the staged ones; its stored image is deleted
// (the next save writes it from the bank).
void commitSingleEffect(const StagedEffect& staged, int effect, EffectTable& effects,
                        MaterialBank& bank, EffectImageStore& images);

// K_1MK: the tag, 13 positions, the remark, 200 settings bytes, the Materials' records, their
// Page Blocks, the marker "23042602", the Page Blocks again and their twelve positions.
std::optional<QByteArray> buildModuleFile(const Effect& fx, const MaterialBank& bank, int module,
                                          const FixtureLibrary& lib);
struct StagedModule {
    ModuleSettings settings;
    std::array<Material, kSlotsPerModule> materials;  // Slot s at s - 1
};
ParseResult parseModuleFile(const QByteArray& bytes, StagedModule& out);
// clearModule, then the staged settings and Materials; beat selections and flags stay.
void commitModule(const StagedModule& staged, Effect& fx, MaterialBank& bank, int module);

// Where the operations find the show.
struct EffectFilesContext {
    EffectTable& effects;
    MaterialBank& bank;
    int& currentEffect;  // the open bank's Effect, 0 none
    const FixtureLibrary& lib;
    EffectImageStore& images;
};

// The operations behind the editors' buttons. Exports ask with a save dialog, imports with an
// open dialog; a wrong tag or a damaged file is refused with "文件错误！！！" and changes nothing.
// Each is done when the show or the file changed, and gives the message to tell. The single-Effect
// and Module operations work on the open Effect and do nothing while none is open.
Outcome exportAllEffects(EffectFilesContext& ctx, const FileDialogs& dialogs);  // "全部效果另存为"
// Asks "是否覆盖现在的所有效果 ？" first; "导入全部效果".
Outcome importAllEffects(EffectFilesContext& ctx, const FileDialogs& dialogs);
Outcome exportEffect(EffectFilesContext& ctx, const FileDialogs& dialogs);  // "一个效果另存为"
Outcome importEffect(EffectFilesContext& ctx, const FileDialogs& dialogs);  // "导入一个效果"
Outcome exportModule(EffectFilesContext& ctx, int module,
                     const FileDialogs& dialogs);  // "模块另存为"
Outcome importModule(EffectFilesContext& ctx, int module,
                     const FileDialogs& dialogs);  // "导入模块"

}  // namespace kx
