#include "effects/effect_files.h"

#include "base/file_io.h"
#include "effects/effect_record.h"
#include "materials/material_bank_file.h"
#include "materials/material_record.h"
#include "storage/record_io.h"

namespace kx {

namespace {

constexpr int kSingleEffectTable = 24;  // behind the tag and 20 zero bytes
constexpr int kSingleEffectRecord = kSingleEffectTable + 6;
constexpr int kModuleTablePosition = 4;
constexpr int kModuleEntries = 1 + kSlotsPerModule;

std::optional<QByteArray> used(const RecordBuffer& buf, int cursor) {
    if (!buf.ok()) return std::nullopt;
    return buf.bytes(cursor);
}

// The file as the readers see it: at most the working buffer's capacity, and its leading tag.
RecordBuffer fileBuffer(const QByteArray& bytes) {
    return RecordBuffer::fromBytes(bytes.left(kEffectFileCapacity));
}

bool tagIs(RecordBuffer& buf, const QString& tag) {
    if (buf.capacity() < 4) return false;
    int cursor = 0;
    return Fun_GetTag(cursor, buf) == tag;
}

bool fits(const RecordBuffer& buf, std::int64_t position, int n) {
    return position >= 0 && position + n <= buf.capacity();
}

}  // namespace

std::optional<QByteArray> buildAllEffectsFile(const EffectTable& effects, MaterialBank& bank,
                                              int currentEffect, const FixtureLibrary& lib,
                                              EffectImageStore& images) {
    RecordBuffer buf(kEffectFileCapacity);
    int cursor = 0;
    Fun_PutTag(kAllEffectsTag, cursor, buf);
    for (int i = 0; i < kShowDirectoryEntries; ++i)
        Fun_PutTag("00000000", cursor, buf);
    saveMaterialsSection(buf, cursor, bank, currentEffect, lib, images, kSectionMaterials);
    saveEffectsSection(effects, buf, cursor);
    return used(buf, cursor);
}

ParseResult parseAllEffectsFile(const QByteArray& bytes, StagedAllEffects& out) {
    RecordBuffer buf = fileBuffer(bytes);
    if (!tagIs(buf, kAllEffectsTag)) return ParseResult::WrongTag;
    auto staged = std::make_unique<StagedAllEffects>();
    if (!loadMaterialsSection(buf, staged->images, kSectionMaterials)) {
        return ParseResult::Damaged;
    }
    int cursor = 0;
    if (!loadEffectsSection(staged->effects, buf, cursor)) return ParseResult::Damaged;
    out = std::move(*staged);
    return ParseResult::Ok;
}

bool commitAllEffects(const StagedAllEffects& staged, EffectTable& effects, MaterialBank& bank,
                      int& currentEffect, EffectImageStore& images) {
    effects = staged.effects;
    return commitMaterialsSection(staged.images, images, bank, currentEffect);
}

std::optional<QByteArray> buildSingleEffectFile(const Effect& fx, const MaterialBank& bank,
                                                const FixtureLibrary& lib) {
    RecordBuffer buf(kEffectFileCapacity);
    int cursor = 0;
    Fun_PutTag(kSingleEffectTag, cursor, buf);
    cursor = kSingleEffectRecord;
    std::array<int, 2> entries{};
    writeEffectRecord(fx, cursor, buf, entries[0]);
    const int bankStart = cursor;
    if (writeMaterialBank(bank, lib, cursor, buf)) entries[1] = bankStart;
    Fun_PutInt24Table(kSingleEffectTable, entries, buf);
    return used(buf, cursor);
}

ParseResult parseSingleEffectFile(const QByteArray& bytes, StagedEffect& out) {
    RecordBuffer buf = fileBuffer(bytes);
    if (!tagIs(buf, kSingleEffectTag)) return ParseResult::WrongTag;
    if (!fits(buf, kSingleEffectTable, 6)) return ParseResult::Damaged;
    const int body = Fun_GetAt3(kSingleEffectTable, buf);
    const int bankAt = Fun_GetAt3(kSingleEffectTable + 3, buf);
    auto staged = std::make_unique<StagedEffect>();
    int cursor = kSingleEffectRecord;
    if (!readEffectRecord(staged->effect, body, cursor, buf)) return ParseResult::Damaged;
    if (bankAt > 0) {
        cursor = bankAt;
        if (!readMaterialBank(staged->bank, cursor, buf)) return ParseResult::Damaged;
    }
    out = std::move(*staged);
    return ParseResult::Ok;
}

void commitSingleEffect(const StagedEffect& staged, int effect, EffectTable& effects,
                        MaterialBank& bank, EffectImageStore& images) {
    effects.at(effect) = staged.effect;
    bank = staged.bank;
    images.setImage(effect, {});
}

std::optional<QByteArray> buildModuleFile(const Effect& fx, const MaterialBank& bank, int module,
                                          const FixtureLibrary& lib) {
    if (module < 1 || module > kModules) return std::nullopt;
    const ModuleSettings& settings = fx.modules[module - 1];
    RecordBuffer buf(kEffectFileCapacity);
    int cursor = 0;
    Fun_PutTag(kModuleFileTag, cursor, buf);
    cursor = kModuleRemarkPosition;
    std::array<int, kModuleEntries> entries{};
    entries[0] = cursor;
    Fun_PutStr(settings.remark, kEffectTextMax, cursor, buf);
    const int settingsAt = cursor;
    std::array<std::uint8_t, kModuleSettingsSize> block{};
    block[0] = settings.materialAssociation;
    block[1] = settings.associationRepeat;
    Fun_PutBytes(kModuleSettingsSize, block, cursor, buf);
    for (int s = 1; s <= kSlotsPerModule; ++s) {
        if (!materialExists(bank, module, s)) continue;
        entries[s] = cursor;
        writeMaterialRecord(bank.at(module, s), lib, cursor, buf);
    }
    // Readers of files without the marker take the Page Blocks in sequence from here.
    for (int s = 1; s <= kSlotsPerModule; ++s)
        writePageBlock(bank.at(module, s), lib, cursor, buf);
    Fun_PutAt4(cursor, settingsAt + kModulePagePosition, buf);
    Fun_PutTag(kModulePageListTag, cursor, buf);
    std::array<int, kSlotsPerModule> pageBlocks{};
    for (int s = 1; s <= kSlotsPerModule; ++s) {
        pageBlocks[s - 1] = cursor;
        writePageBlock(bank.at(module, s), lib, cursor, buf);
    }
    Fun_PutAt4(cursor, settingsAt + kModulePageListPosition, buf);
    for (int p : pageBlocks)
        Fun_Put3(p, cursor, buf);
    Fun_PutInt24Table(kModuleTablePosition, entries, buf);
    return used(buf, cursor);
}

ParseResult parseModuleFile(const QByteArray& bytes, StagedModule& out) {
    RecordBuffer buf = fileBuffer(bytes);
    if (!tagIs(buf, kModuleFileTag)) return ParseResult::WrongTag;
    int cursor = kModuleTablePosition;
    std::array<int, kModuleEntries> entries{};
    Fun_GetInt24Table(entries, cursor, buf);
    if (!buf.ok()) return ParseResult::Damaged;
    auto staged = std::make_unique<StagedModule>();
    cursor = entries[0] > 0 ? entries[0] : kModuleRemarkPosition;
    Fun_GetStr(staged->settings.remark, kEffectTextMax, cursor, buf);
    if (!buf.ok() || !fits(buf, cursor, kModuleSettingsSize)) return ParseResult::Damaged;
    staged->settings.materialAssociation = Fun_GetAt1(cursor, buf) != 0 ? 1 : 0;
    staged->settings.associationRepeat = static_cast<std::uint8_t>(Fun_GetAt1(cursor + 1, buf));
    const int pageMarker = Fun_GetAt4(cursor + kModulePagePosition, buf);
    const int pageList = Fun_GetAt4(cursor + kModulePageListPosition, buf);
    cursor += kModuleSettingsSize;
    for (int s = 1; s <= kSlotsPerModule; ++s) {
        if (entries[s] <= 0) continue;
        cursor = entries[s];
        int pageBlockAt = 0;
        if (!readMaterialRecord(staged->materials[s - 1], cursor, buf, pageBlockAt)) {
            return ParseResult::Damaged;
        }
    }
    if (pageMarker != 0) {
        if (!fits(buf, pageMarker, 4)) return ParseResult::Damaged;
        int at = pageMarker;
        if (Fun_GetTag(at, buf) == kModulePageListTag) {
            if (!fits(buf, pageList, 3 * kSlotsPerModule)) return ParseResult::Damaged;
            for (int s = 1; s <= kSlotsPerModule; ++s) {
                int end = 0;
                const int position = Fun_GetAt3(pageList + 3 * (s - 1), buf);
                if (!readPageBlock(staged->materials[s - 1], position, buf, end)) {
                    return ParseResult::Damaged;
                }
            }
        }
    } else {
        for (Material& m : staged->materials) {
            int end = 0;
            if (!readPageBlock(m, cursor, buf, end)) return ParseResult::Damaged;
            cursor = end;
        }
    }
    if (!buf.ok()) return ParseResult::Damaged;
    out = std::move(*staged);
    return ParseResult::Ok;
}

void commitModule(const StagedModule& staged, Effect& fx, MaterialBank& bank, int module) {
    clearModule(fx, bank, module);
    fx.modules[module - 1] = staged.settings;
    for (int s = 1; s <= kSlotsPerModule; ++s)
        bank.at(module, s) = staged.materials[s - 1];
}

namespace {

Outcome writeFile(const QString& path, const std::optional<QByteArray>& bytes) {
    if (bytes && writeWholeFile(path, *bytes)) return Outcome::success();
    return Outcome::refused(kMsgFileSaveFailed);
}

// The chosen file's bytes; otherwise nothing, and in refusal what to tell.
std::optional<QByteArray> askAndRead(const FileDialogs& dialogs, const QString& title,
                                     const QString& ext, QString& refusal) {
    const PathChoice choice = Fun_AskOpenPath(dialogs, title, ext);
    if (!choice.chosen()) {
        refusal = choice.message;
        return std::nullopt;
    }
    auto bytes = readWholeFile(choice.path);
    if (!bytes) refusal = kMsgFileError;
    return bytes;
}

bool effectOpen(const EffectFilesContext& ctx) {
    return isEffectNumber(ctx.currentEffect);
}

}  // namespace

Outcome exportAllEffects(EffectFilesContext& ctx, const FileDialogs& dialogs) {
    const PathChoice choice =
        Fun_AskSavePath(dialogs, QStringLiteral("全部效果另存为"), kAllEffectsExt);
    if (!choice.chosen()) return Outcome::refused(choice.message);
    return writeFile(choice.path, buildAllEffectsFile(ctx.effects, ctx.bank, ctx.currentEffect,
                                                      ctx.lib, ctx.images));
}

Outcome importAllEffects(EffectFilesContext& ctx, const FileDialogs& dialogs) {
    if (!dialogs.prompter.askYesNo(kMsgAskOverwriteEffects)) return {};
    QString refusal;
    const auto bytes = askAndRead(dialogs, QStringLiteral("导入全部效果"), kAllEffectsExt, refusal);
    if (!bytes) return Outcome::refused(refusal);
    auto staged = std::make_unique<StagedAllEffects>();
    if (parseAllEffectsFile(*bytes, *staged) != ParseResult::Ok)
        return Outcome::refused(kMsgFileError);
    // The Effects are the file's either way; an image that could not be kept is said, not
    // passed off as imported.
    if (!commitAllEffects(*staged, ctx.effects, ctx.bank, ctx.currentEffect, ctx.images))
        return {true, kMsgMaterialSaveFailed};
    return Outcome::success();
}

Outcome exportEffect(EffectFilesContext& ctx, const FileDialogs& dialogs) {
    if (!effectOpen(ctx)) return {};
    const PathChoice choice =
        Fun_AskSavePath(dialogs, QStringLiteral("一个效果另存为"), kSingleEffectExt);
    if (!choice.chosen()) return Outcome::refused(choice.message);
    return writeFile(choice.path,
                     buildSingleEffectFile(ctx.effects.at(ctx.currentEffect), ctx.bank, ctx.lib));
}

Outcome importEffect(EffectFilesContext& ctx, const FileDialogs& dialogs) {
    if (!effectOpen(ctx)) return {};
    QString refusal;
    const auto bytes =
        askAndRead(dialogs, QStringLiteral("导入一个效果"), kSingleEffectExt, refusal);
    if (!bytes) return Outcome::refused(refusal);
    auto staged = std::make_unique<StagedEffect>();
    if (parseSingleEffectFile(*bytes, *staged) != ParseResult::Ok)
        return Outcome::refused(kMsgFileError);
    commitSingleEffect(*staged, ctx.currentEffect, ctx.effects, ctx.bank, ctx.images);
    return Outcome::success();
}

Outcome exportModule(EffectFilesContext& ctx, int module, const FileDialogs& dialogs) {
    if (!effectOpen(ctx) || module < 1 || module > kModules) return {};
    const PathChoice choice = Fun_AskSavePath(dialogs, QStringLiteral("模块另存为"), kModuleExt);
    if (!choice.chosen()) return Outcome::refused(choice.message);
    return writeFile(choice.path,
                     buildModuleFile(ctx.effects.at(ctx.currentEffect), ctx.bank, module, ctx.lib));
}

Outcome importModule(EffectFilesContext& ctx, int module, const FileDialogs& dialogs) {
    if (!effectOpen(ctx) || module < 1 || module > kModules) return {};
    QString refusal;
    const auto bytes = askAndRead(dialogs, QStringLiteral("导入模块"), kModuleExt, refusal);
    if (!bytes) return Outcome::refused(refusal);
    auto staged = std::make_unique<StagedModule>();
    if (parseModuleFile(*bytes, *staged) != ParseResult::Ok) return Outcome::refused(kMsgFileError);
    commitModule(*staged, ctx.effects.at(ctx.currentEffect), ctx.bank, module);
    return Outcome::success();
}

}  // namespace kx
