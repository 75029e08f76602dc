#pragma once

#include <QString>
#include <vector>

#include "base/outcome.h"
#include "base/prompter.h"
#include "materials/material.h"

namespace kx {

// Built-in materials: ready-made K_1SC files in AppSet/<library>/<category>/, each with an
// optional description <caption>.txt beside it. The tool only reads them.
inline const QString kStandardLibrary = QStringLiteral("标准素材");
inline const QString kPersonalLibrary = QStringLiteral("个性素材");
inline const QString kMsgNoDescription = QStringLiteral("无说明");
inline const QString kBuiltInHint = QStringLiteral("右键点击按钮显示说明，点击说明框自动隐藏说明");
inline constexpr int kBuiltInCategoryCount = 8;
inline constexpr int kBuiltInEntries = 40;

// The caption (and folder name) of category 1-8, "" for any other number.
QString builtInCategoryCaption(int category);
// AppSet/<library>/<category caption>.
QString builtInFolder(const QString& appSetDir, const QString& library, int category);

struct BuiltInEntry {
    QString caption;  // the file name without the dot and the five-letter extension
    QString path;
    bool operator==(const BuiltInEntry&) const = default;
};

// The first 40 K_1SC files of the folder, by name; nothing for a missing folder.
std::vector<BuiltInEntry> listBuiltInMaterials(const QString& folder);
// The text of the entry's <caption>.txt (code page 936), or "无说明" when it is missing or empty.
QString builtInDescription(const BuiltInEntry& entry);
// "是否导入  [<caption>]".
QString builtInImportQuestion(const BuiltInEntry& entry);
// Reads the entry's file into m through the K_1SC reader. A missing, empty, foreign or damaged
// file says "读取失败" and leaves m as it was. Done when m was replaced.
Outcome readBuiltInMaterial(const BuiltInEntry& entry, Material& m);
// A click on an entry: asks the import question; on Yes reads the file as above.
Outcome importBuiltInMaterial(const BuiltInEntry& entry, Material& m, Prompter& prompter);

}  // namespace kx
