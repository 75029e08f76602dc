#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "base/dialogs.h"
#include "base/outcome.h"
#include "base/paths.h"
#include "fixtures/fixture_library.h"
#include "materials/material.h"
#include "storage/record_io.h"

namespace kx {

// The single-Material file K_1SC: the tag F1042601, the Material Record at position 4 (header bytes
// 12-14 are 0) and its Page Block right after it. The Material clipboard is the same file under a
// fixed name.
inline const QString kSingleMaterialTag = QStringLiteral("F1042601");
inline constexpr int kSingleMaterialTagValue = static_cast<int>(0xF1042601u);
inline const QString kSingleMaterialExt = QStringLiteral("K_1SC");

inline const QString kMsgAskOverwriteMaterial = QStringLiteral("是否覆盖当前素材?");

// Nothing when the Material does not fit a working buffer.
std::optional<QByteArray> buildSingleMaterialFile(const Material& m, const FixtureLibrary& lib);
// Ok: out holds the file's Material. Otherwise out is unchanged.
ParseResult parseSingleMaterialFile(const QByteArray& bytes, Material& out);

// The editor's "素材另存": a save dialog "保存素材"; cancelling does nothing. Not done when nothing
// was written (a failed write says "素材保存失败！！！").
Outcome exportMaterial(const Material& m, const FixtureLibrary& lib, const FileDialogs& dialogs);
// "复制素材": the same into the clipboard file, without dialog.
Outcome copyMaterialToClipboard(const Material& m, const FixtureLibrary& lib,
                                const AppPaths& paths);
// "导入素材": an open dialog "读取素材". No file or an empty one: "读取失败". A foreign tag changes
// nothing, silently; a damaged file says "读取失败" and changes nothing. Done when m was replaced.
Outcome importMaterial(Material& m, const FileDialogs& dialogs);
// "粘贴素材": asks "是否覆盖当前素材?" through prompter; on Yes reads the clipboard file as import
// does (a missing one: "读取失败").
Outcome pasteMaterialFromClipboard(Material& m, const AppPaths& paths, Prompter& prompter);

}  // namespace kx
