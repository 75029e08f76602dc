#include "cli/show_reading.h"

#include "materials/material_bank_file.h"
#include "storage/record_io.h"

namespace kx {

namespace {

constexpr int kStampZeros = 20;  // between the stamp's tag and its position table

// The readers one by one on a fresh show, as the container runs them: the first that fails.
int findDamagedSection(const QByteArray& bytes) {
    auto show = std::make_unique<Show>();
    MemoryImages images;
    StagedEffectImages staged;
    RecordBuffer buf = RecordBuffer::fromBytes(bytes.left(kShowFileCapacity));
    std::vector<std::uint8_t> scratch(kShowScratchSize, 0);
    QStringList notes;
    for (const SectionRoutine& s : showSections(*show, images, staged)) {
        int cursor = 0;
        if (!s.read(buf, cursor, scratch, notes) || !buf.ok()) return s.number;
    }
    return 0;
}

}  // namespace

std::unique_ptr<LoadedShow> readShowBytes(const QByteArray& bytes) {
    auto loaded = std::make_unique<LoadedShow>();
    StagedEffectImages staged;
    loaded->parse =
        parseShowFile(bytes, showSections(loaded->show, loaded->images, staged), loaded->notes);
    if (loaded->parse == ParseResult::Damaged) {
        loaded->damagedSection = findDamagedSection(bytes);
    } else if (loaded->parse == ParseResult::Ok) {
        commitMaterialsSection(staged, loaded->images, loaded->show.materials,
                               loaded->show.currentEffect);
    }
    return loaded;
}

std::vector<SectionTag> showSectionTags() {
    auto show = std::make_unique<Show>();
    MemoryImages images;
    StagedEffectImages staged;
    std::vector<SectionTag> tags;
    for (const SectionRoutine& s : showSections(*show, images, staged))
        tags.push_back({s.number, s.tag});
    tags.push_back({kSectionStamp, kStampTag});
    return tags;
}

QString sectionTerm(int section) {
    switch (section) {
        case kSectionRoomControl:
            return QStringLiteral("Room Control");
        case kSectionScenes:
            return QStringLiteral("Scenes");
        case kSectionFixtures:
            return QStringLiteral("Fixture Library");
        case kSectionMaterials:
            return QStringLiteral("Materials");
        case kSectionEffects:
            return QStringLiteral("Effects");
        case kSectionThresholds:
            return QStringLiteral("Action Thresholds");
        case kSectionStamp:
            return QStringLiteral("Save stamp");
        default:
            break;
    }
    return QStringLiteral("section %1").arg(section);
}

QString readSaveStamp(const QByteArray& bytes) {
    RecordBuffer buf = RecordBuffer::fromBytes(bytes.left(kShowFileCapacity));
    int cursor = 0;
    if (!Fun_FindSection(kSectionStamp, kStampTag, cursor, buf)) return {};
    int table = cursor + kStampZeros;
    std::array<int, 1> positions{};
    Fun_GetInt24Table(positions, table, buf);
    int text = positions[0];
    QString stamp;
    Fun_GetStr(stamp, 255, text, buf);
    return buf.ok() ? stamp : QString();
}

ParseResult readEffectBank(const LoadedShow& loaded, int effect, MaterialBank& out) {
    const QByteArray image = loaded.images.image(effect);
    if (image.isEmpty()) {
        out = MaterialBank{};
        return ParseResult::Ok;
    }
    return parseEffectImage(image, out);
}

}  // namespace kx
