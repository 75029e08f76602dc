#include "materials/material_bank_file.h"

#include <memory>
#include <vector>

#include "base/file_io.h"
#include "materials/material_record.h"
#include "storage/record_io.h"

namespace kx {

bool writeMaterialBank(const MaterialBank& bank, const FixtureLibrary& lib, int& cursor,
                       RecordBuffer& buf) {
    std::vector<int> numbers;
    for (int n = 1; n <= kMaterialsPerBank; ++n)
        if (materialExists(bank.byNumber(n))) numbers.push_back(n);
    if (numbers.empty()) return false;

    Fun_Put1(static_cast<int>(numbers.size()), cursor, buf);
    const int directory = cursor;
    cursor += 4 * static_cast<int>(numbers.size());
    std::vector<int> positions;
    for (const int n : numbers) {
        positions.push_back(cursor);
        writeMaterialRecord(bank.byNumber(n), lib, cursor, buf);
    }
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        Fun_PutAt3(cursor, positions[i] + kHeaderPageBlockPosition, buf);
        writePageBlock(bank.byNumber(numbers[i]), lib, cursor, buf);
    }
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        Fun_PutAt1(numbers[i], directory + 4 * static_cast<int>(i), buf);
        Fun_PutAt3(positions[i], directory + 4 * static_cast<int>(i) + 1, buf);
    }
    return true;
}

bool readMaterialBank(MaterialBank& out, int& cursor, RecordBuffer& buf) {
    if (cursor < 0 || cursor >= buf.capacity()) return false;
    const int count = Fun_Get1(cursor, buf);
    if (count > kMaterialsPerBank || cursor + 4 * count > buf.capacity()) return false;
    std::array<int, kMaterialsPerBank + 1> recordAt{};
    for (int i = 0; i < count; ++i) {
        const int n = Fun_Get1(cursor, buf);
        const int position = Fun_Get3(cursor, buf);
        if (n >= 1 && n <= kMaterialsPerBank) recordAt[n] = position;
    }
    auto bank = std::make_unique<MaterialBank>();
    std::array<int, kMaterialsPerBank + 1> pageBlockAt{};
    int end = cursor;
    for (int n = 1; n <= kMaterialsPerBank; ++n) {
        if (recordAt[n] <= 0) continue;
        int at = recordAt[n];
        if (!readMaterialRecord(bank->byNumber(n), at, buf, pageBlockAt[n])) return false;
        end = std::max(end, at);
    }
    for (int n = 1; n <= kMaterialsPerBank; ++n) {
        if (recordAt[n] <= 0) continue;
        int blockEnd = 0;
        if (!readPageBlock(bank->byNumber(n), pageBlockAt[n], buf, blockEnd)) return false;
        end = std::max(end, blockEnd);
    }
    if (!buf.ok()) return false;
    out = std::move(*bank);
    cursor = end;
    return true;
}

std::optional<QByteArray> buildEffectImage(const MaterialBank& bank, const FixtureLibrary& lib) {
    std::int64_t size = 4 + 1;
    for (int n = 1; n <= kMaterialsPerBank; ++n)
        if (materialExists(bank.byNumber(n))) size += 4 + materialBytesBound(bank.byNumber(n), lib);
    if (size == 5) return QByteArray();
    if (size > kMaterialBufferCapacity) return std::nullopt;
    RecordBuffer buf(static_cast<int>(size));
    int cursor = 0;
    Fun_PutTag(kEffectImageTag, cursor, buf);
    writeMaterialBank(bank, lib, cursor, buf);
    if (!buf.ok()) return std::nullopt;
    return buf.bytes(cursor);
}

ParseResult parseEffectImage(const QByteArray& bytes, MaterialBank& out) {
    RecordBuffer buf = RecordBuffer::fromBytes(bytes);
    int cursor = 0;
    if (bytes.size() < 4 || Fun_GetTag(cursor, buf) != kEffectImageTag)
        return ParseResult::WrongTag;
    return readMaterialBank(out, cursor, buf) ? ParseResult::Ok : ParseResult::Damaged;
}

bool saveEffectImage(EffectImageStore& images, int effect, const MaterialBank& bank,
                     const FixtureLibrary& lib) {
    const auto image = buildEffectImage(bank, lib);
    if (!image) return false;
    return images.setImage(effect, *image);
}

bool loadEffectImage(const EffectImageStore& images, int effect, MaterialBank& bank) {
    clearBank(bank);
    const QByteArray bytes = images.image(effect);
    if (bytes.isEmpty()) return true;
    return parseEffectImage(bytes, bank) != ParseResult::Damaged;
}

Outcome switchEffect(int effect, int& currentEffect, MaterialBank& bank, const FixtureLibrary& lib,
                     EffectImageStore& images) {
    if (effect < 0 || effect > kEffectCount) return {};
    if (effect == currentEffect) return Outcome::success();
    if (currentEffect != 0 && !saveEffectImage(images, currentEffect, bank, lib))
        return Outcome::refused(kMsgMaterialSaveFailed);
    currentEffect = effect;
    if (effect == 0) {
        clearBank(bank);
    } else {
        loadEffectImage(images, effect, bank);
    }
    return Outcome::success();
}

}  // namespace kx
