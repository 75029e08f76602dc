#include "materials/material_exchange.h"

#include "base/file_io.h"
#include "materials/material_bank_file.h"
#include "materials/material_record.h"
#include "storage/record_io.h"

namespace kx {

namespace {

Outcome writeMaterialFile(const QString& path, const Material& m, const FixtureLibrary& lib) {
    const auto bytes = buildSingleMaterialFile(m, lib);
    if (!bytes || !writeWholeFile(path, *bytes)) return Outcome::refused(kMsgMaterialSaveFailed);
    return Outcome::success();
}

Outcome readMaterialFile(const QString& path, Material& m) {
    const auto bytes = readWholeFile(path);
    if (!bytes || bytes->isEmpty()) return Outcome::refused(kMsgReadFailed);
    switch (parseSingleMaterialFile(*bytes, m)) {
        case ParseResult::Ok:
            return Outcome::success();
        case ParseResult::WrongTag:
            return {};
        case ParseResult::Damaged:
            break;
    }
    return Outcome::refused(kMsgReadFailed);
}

}  // namespace

std::optional<QByteArray> buildSingleMaterialFile(const Material& m, const FixtureLibrary& lib) {
    const std::int64_t size = 4 + materialBytesBound(m, lib);
    if (size > kMaterialBufferCapacity) return std::nullopt;
    RecordBuffer buf(static_cast<int>(size));
    int cursor = 0;
    Fun_Put4(kSingleMaterialTagValue, cursor, buf);
    writeMaterialRecord(m, lib, cursor, buf);
    writePageBlock(m, lib, cursor, buf);
    if (!buf.ok()) return std::nullopt;
    return buf.bytes(cursor);
}

ParseResult parseSingleMaterialFile(const QByteArray& bytes, Material& out) {
    RecordBuffer buf = RecordBuffer::fromBytes(bytes);
    int cursor = 0;
    if (bytes.size() < 4 || Fun_GetTag(cursor, buf) != kSingleMaterialTag)
        return ParseResult::WrongTag;
    Material m;
    int pageBlock = 0;
    if (!readMaterialRecord(m, cursor, buf, pageBlock)) return ParseResult::Damaged;
    int end = 0;
    if (!readPageBlock(m, cursor, buf, end)) return ParseResult::Damaged;
    out = std::move(m);
    return ParseResult::Ok;
}

Outcome exportMaterial(const Material& m, const FixtureLibrary& lib, const FileDialogs& dialogs) {
    const QString path =
        Fun_SaveDialogTitled(dialogs, QStringLiteral("保存素材"), kSingleMaterialExt);
    if (path.isEmpty()) return {};
    return writeMaterialFile(path, m, lib);
}

Outcome copyMaterialToClipboard(const Material& m, const FixtureLibrary& lib,
                                const AppPaths& paths) {
    return writeMaterialFile(paths.materialClipboard, m, lib);
}

Outcome importMaterial(Material& m, const FileDialogs& dialogs) {
    const PathChoice choice =
        Fun_AskOpenPath(dialogs, QStringLiteral("读取素材"), kSingleMaterialExt);
    if (!choice.chosen()) return Outcome::refused(choice.message);
    return readMaterialFile(choice.path, m);
}

Outcome pasteMaterialFromClipboard(Material& m, const AppPaths& paths, Prompter& prompter) {
    if (!prompter.askYesNo(kMsgAskOverwriteMaterial)) return {};
    return readMaterialFile(paths.materialClipboard, m);
}

}  // namespace kx
