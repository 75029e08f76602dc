// Writes the seed corpora of the Effect, Scene and Room Control fuzz targets: files as the program
// writes them. Usage: make_fx_fuzz_seeds <fuzz folder>
#include <QDir>
#include <cstdio>
#include <memory>

#include "base/file_io.h"
#include "effects/effect_files.h"
#include "effects/effect_record.h"
#include "materials/material_bank_file.h"
#include "materials/memory_images.h"
#include "roomctl/room_control.h"
#include "scenes/scene_table.h"
#include "storage/record_io.h"

namespace {

using namespace kx;

Material sampleMaterial(int seed) {
    Material m;
    m.setFixtureCount(2);
    m.setChannelCount(3);
    m.setChannelFunction(1, 1);
    m.setChannelFunction(2, 2);
    m.setChannelFunction(3, 5);
    m.setStepCount(4);
    m.setUnifiedTime(10);
    m.setRemark(QStringLiteral("素材%1").arg(seed));
    for (int s = 1; s <= 4; ++s)
        m.setValue(s, 1, 1 + s % 3, 40 * s + seed);
    m.setMapped(1, 0, 1, true);
    m.setMapped(2, 1, 2, true);
    return m;
}

FixtureLibrary sampleLibrary() {
    FixtureLibrary lib;
    for (int page = 0; page < libraryPages; ++page) {
        for (int n = 1; n <= 2; ++n) {
            Fixture& f = lib.at(page, n);
            f.startAddress = static_cast<std::int16_t>(10 * n);
            f.channelCount = 3;
            f.functions[0] = 1;
            f.functions[1] = 2;
            f.functions[2] = 5;
        }
    }
    return lib;
}

Effect sampleEffect(int seed) {
    Effect fx;
    fx.remark = QStringLiteral("效果%1").arg(seed);
    setEffectSetting(fx, &Effect::independentBass, 1);
    setEffectSetting(fx, &Effect::beatCorrespondence, 1);
    setEffectSetting(fx, &Effect::vjMode, 1);
    setEffectSetting(fx, &Effect::bassHoldTime, 40);
    setEffectSetting(fx, &Effect::rgbThreshold, 200);
    for (int part : {kNoBassPart, kBassPart}) {
        setBarCount(fx, part, 2 + part);
        setBeatsPerBar(fx, part, 4 - part);
        for (int bar = 1; bar <= 2 + part; ++bar) {
            setBarRepeat(fx, part, bar, bar);
            setBeatDwellTime(fx, part, bar, 40);
            setBeatSelection(fx, part, bar, 1 + bar % 3, 1, 1 + seed % 12, 1);
            setBeatSelection(fx, part, bar, 1, 2, bar, 1);
        }
    }
    setAllBeatsFlag(fx, AllBeatsFlag::NoBassBeats, 1, 2, 1);
    setAllBeatsFlag(fx, AllBeatsFlag::BassBeats, 3, 4, 1);
    setAllBeatsFlag(fx, AllBeatsFlag::BothParts, 20, 12, 1);
    setModuleRemark(fx, 1, QStringLiteral("模块"));
    setMaterialAssociation(fx, 1, 1);
    setAssociationRepeat(fx, 1, 3);
    return fx;
}

bool put(const QString& dir, const QString& name, const std::optional<QByteArray>& bytes) {
    QDir().mkpath(dir);
    return bytes && writeWholeFile(dir + "/" + name, *bytes);
}

// A Show File holding sections 1, 2 and 12.
QByteArray showBytes(RoomControl& rc, SceneTable& scenes, EffectTable& effects) {
    const SectionRoutines sections{roomControlSectionRoutine(rc), scenesSectionRoutine(scenes),
                                   effectsSectionRoutine(effects)};
    return buildShowFile(sections, QStringLiteral("2026/1/1 0:00:00 C:\\KX")).bytes.value();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <fuzz folder>\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    test::MemoryImages images;
    const FixtureLibrary lib = sampleLibrary();

    RoomControl blankRoom;
    SceneTable blankScenes;
    auto blankEffects = std::make_unique<EffectTable>();
    RoomControl room;
    setRoomControl(room, &RoomControl::startupScene, 3);
    setRoomControl(room, &RoomControl::smokeSeconds, 10);
    setEffectorCode(room, 1, {0x11, 0x22, 0x33, 0x44});
    SceneTable scenes;
    setSceneName(scenes, 1, QStringLiteral("欢迎"));
    setSceneEffect(scenes, 1, 2);
    setRelay(scenes, 1, 24, 1);
    setDimmerLevel(scenes, 2, 3, 5);
    setEffectorSound(scenes, 2, 6);
    setDefaultAssociations(scenes);
    auto effects = std::make_unique<EffectTable>();
    effects->at(1) = sampleEffect(1);
    effects->at(2).remark = QStringLiteral("只有备注");
    effects->at(50) = sampleEffect(50);

    auto bank = std::make_unique<MaterialBank>();
    bank->at(1, 1) = sampleMaterial(1);
    bank->at(1, 4) = sampleMaterial(2);
    auto other = std::make_unique<MaterialBank>();
    other->at(2, 2) = sampleMaterial(3);
    saveEffectImage(images, 50, *other, lib);

    const QByteArray blankShow = showBytes(blankRoom, blankScenes, *blankEffects);
    const QByteArray sampleShow = showBytes(room, scenes, *effects);
    QByteArray oldModule = buildModuleFile(effects->at(1), *bank, 1, lib).value();
    // The older module layout: no page-list marker, the Page Blocks read in sequence.
    RecordBuffer old = RecordBuffer::fromBytes(oldModule);
    Fun_PutAt4(0, kModuleRemarkPosition + 1 + 2 * 2 + kModulePagePosition, old);
    oldModule = old.bytes(old.capacity());

    const QString fx = root + "/effects/corpus/";
    bool ok =
        put(root + "/roomctl/corpus/room_control_section", "blank.K74", blankShow) &&
        put(root + "/roomctl/corpus/room_control_section", "sample.K74", sampleShow) &&
        put(root + "/scenes/corpus/scenes_section", "blank.K74", blankShow) &&
        put(root + "/scenes/corpus/scenes_section", "sample.K74", sampleShow) &&
        put(fx + "effects_section", "blank.K74", blankShow) &&
        put(fx + "effects_section", "sample.K74", sampleShow) &&
        put(fx + "single_effect_file", "plain.K_1XG",
            buildSingleEffectFile(effects->at(2), MaterialBank{}, lib)) &&
        put(fx + "single_effect_file", "full.K_1XG",
            buildSingleEffectFile(effects->at(1), *bank, lib)) &&
        put(fx + "module_file", "empty.K_1MK",
            buildModuleFile(effects->at(2), MaterialBank{}, 5, lib)) &&
        put(fx + "module_file", "full.K_1MK", buildModuleFile(effects->at(1), *bank, 1, lib)) &&
        put(fx + "module_file", "old.K_1MK", oldModule) &&
        put(fx + "all_effects_file", "sample.K_AXG",
            buildAllEffectsFile(*effects, *bank, 1, lib, images)) &&
        put(fx + "all_effects_file", "images_only.K_AXG",
            buildAllEffectsFile(*blankEffects, *bank, 0, lib, images));
    return ok ? 0 : 1;
}
