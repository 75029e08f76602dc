#include "materials/material_exchange.h"

#include "base/dialogs.h"
#include "base/file_io.h"
#include "base/platform.h"
#include "materials/material_bank_file.h"
#include "materials/material_record.h"
#include "storage/record_io.h"

namespace kx {

namespace {

bool writeMaterialFile(const QString& path, const Material& m, const FixtureLibrary& lib) {
    const auto bytes = buildSingleMaterialFile(m, lib);
    if (!bytes || !writeWholeFile(path, *bytes)) {
        platform().message(kMsgMaterialSaveFailed);
        return false;
    }
    return true;
}

bool readMaterialFile(const QString& path, Material& m) {
    const auto bytes = readWholeFile(path);
    if (!bytes || bytes->isEmpty()) {
        platform().message(kMsgReadFailed);
        return false;
    }
    switch (parseSingleMaterialFile(*bytes, m)) {
        case SingleMaterialParse::Ok:
            return true;
        case SingleMaterialParse::WrongTag:
            return false;
        case SingleMaterialParse::Damaged:
            platform().message(kMsgReadFailed);
            return false;
    }
    return false;
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

SingleMaterialParse parseSingleMaterialFile(const QByteArray& bytes, Material& out) {
    RecordBuffer buf = RecordBuffer::fromBytes(bytes);
    int cursor = 0;
    if (bytes.size() < 4 || Fun_GetTag(cursor, buf) != kSingleMaterialTag)
        return SingleMaterialParse::WrongTag;
    Material m;
    int pageBlock = 0;
    if (!readMaterialRecord(m, cursor, buf, pageBlock)) return SingleMaterialParse::Damaged;
    int end = 0;
    if (!readPageBlock(m, cursor, buf, end)) return SingleMaterialParse::Damaged;
    out = std::move(m);
    return SingleMaterialParse::Ok;
}

bool exportMaterial(const Material& m, const FixtureLibrary& lib) {
    const QString path = Fun_SaveDialogTitled({platform(), platform()}, QStringLiteral("保存素材"),
                                              kSingleMaterialExt);
    if (path.isEmpty()) return false;
    return writeMaterialFile(path, m, lib);
}

bool copyMaterialToClipboard(const Material& m, const FixtureLibrary& lib, const AppPaths& paths) {
    return writeMaterialFile(paths.materialClipboard, m, lib);
}

bool importMaterial(Material& m) {
    QString path;
    if (!Fun_AskOpenPath(path, QStringLiteral("读取素材"), kSingleMaterialExt)) return false;
    return readMaterialFile(path, m);
}

bool pasteMaterialFromClipboard(Material& m, const AppPaths& paths) {
    if (!platform().askYesNo(kMsgAskOverwriteMaterial)) return false;
    return readMaterialFile(paths.materialClipboard, m);
}

}  // namespace kx
