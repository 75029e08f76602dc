#include "materials/builtin_materials.h"

#include <QDir>
#include <array>

#include "base/file_io.h"
#include "base/settings.h"
#include "materials/material_exchange.h"
#include "storage/record_io.h"

namespace kx {

namespace {

const std::array<QString, kBuiltInCategoryCount> kCategoryCaptions = {
    QStringLiteral("舞曲-RGB"),  QStringLiteral("舞曲-开光"), QStringLiteral("舞曲-动作"),
    QStringLiteral("唱歌-RGB"),  QStringLiteral("唱歌-开光"), QStringLiteral("唱歌-动作"),
    QStringLiteral("色盘+图案"), QStringLiteral("自定义"),
};

// The dot and the extension K_1SC.
constexpr int kExtensionLength = 6;

QString descriptionPath(const BuiltInEntry& entry) {
    return entry.path.chopped(kExtensionLength) + QStringLiteral(".txt");
}

}  // namespace

QString builtInCategoryCaption(int category) {
    if (category < 1 || category > kBuiltInCategoryCount) return {};
    return kCategoryCaptions[category - 1];
}

QString builtInFolder(const QString& appSetDir, const QString& library, int category) {
    return appSetDir + "/" + library + "/" + builtInCategoryCaption(category);
}

std::vector<BuiltInEntry> listBuiltInMaterials(const QString& folder) {
    std::vector<BuiltInEntry> entries;
    const QDir dir(folder);
    for (const QString& file : dir.entryList(QDir::Files, QDir::Name)) {
        if (!file.endsWith(kSingleMaterialExt) || file.size() <= kExtensionLength) continue;
        entries.push_back({file.chopped(kExtensionLength), dir.filePath(file)});
        if (static_cast<int>(entries.size()) == kBuiltInEntries) break;
    }
    return entries;
}

QString builtInDescription(const BuiltInEntry& entry) {
    if (entry.path.size() <= kExtensionLength) return kMsgNoDescription;
    const QString text = Fun_ReadText(descriptionPath(entry));
    return text.trimmed().isEmpty() ? kMsgNoDescription : text;
}

QString builtInImportQuestion(const BuiltInEntry& entry) {
    return QStringLiteral("是否导入  [") + entry.caption + QStringLiteral("]");
}

Outcome readBuiltInMaterial(const BuiltInEntry& entry, Material& m) {
    // Unlike the editor's own import, a foreign file in a library folder is reported: the user
    // picked it from a list that promised a Material.
    const auto bytes = readWholeFile(entry.path);
    if (!bytes || parseSingleMaterialFile(*bytes, m) != ParseResult::Ok)
        return Outcome::refused(kMsgReadFailed);
    return Outcome::success();
}

Outcome importBuiltInMaterial(const BuiltInEntry& entry, Material& m, Prompter& prompter) {
    if (!prompter.askYesNo(builtInImportQuestion(entry)) || entry.path.isEmpty()) return {};
    return readBuiltInMaterial(entry, m);
}

}  // namespace kx
