#include <gtest/gtest.h>

#include "base/file_io.h"
#include "effects/effect_test_util.h"
#include "materials/material_bank_file.h"
#include "materials/memory_images.h"
#include "show/show.h"
#include "storage/record_io.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

// The program's show and the images its Materials section reads into, wired by the same section
// list the program's binding uses.
struct FileModels : Show {
    StagedEffectImages staged;
    SectionRoutines sections(EffectImageStore& images) {
        return showSections(*this, images, staged);
    }
};

constexpr int kCode = 3;

Material sample(int seed, int steps) {
    Material m;
    m.setFixtureCount(3);
    m.setChannelCount(2);
    m.setChannelFunction(1, kCode);
    m.setChannelFunction(2, kCode + 1);
    m.setStepCount(steps);
    m.setUnifiedTime(seed);
    m.setRemark(QStringLiteral("素材%1").arg(seed));
    for (int s = 1; s <= steps; ++s) {
        for (int v = 1; v <= 3; ++v) {
            m.setValue(s, v, 1, (seed + s * v) % 256);
            m.setValue(s, v, 2, (seed * s + v) % 256);
        }
    }
    m.setMapped(1, 0, 2, true);
    m.setMapped(3, 1, 5, true);
    return m;
}

class WholeShowTest : public test::FakePlatformTest {
  protected:
    test::MemoryImages images;
    const QString stamp = QStringLiteral("2026/12/9 14:00:00 C:\\KX7420");

    QByteArray save(FileModels& show) {
        const ShowBuild build = buildShowFile(show.sections(images), stamp);
        EXPECT_TRUE(build.bytes);
        return build.bytes.value_or(QByteArray());
    }

    // Loads into a fresh show and commits the images as the program's load does.
    std::unique_ptr<FileModels> load(const QByteArray& bytes) {
        auto show = std::make_unique<FileModels>();
        QStringList notes;
        EXPECT_EQ(parseShowFile(bytes, show->sections(images), notes), ParseResult::Ok);
        EXPECT_TRUE(notes.isEmpty());
        EXPECT_TRUE(
            commitMaterialsSection(show->staged, images, show->materials, show->currentEffect));
        return show;
    }
};

TEST_F(WholeShowTest, BlankShowHoldsThePristineDefaults) {
    FileModels blank;
    const QByteArray bytes = save(blank);
    RecordBuffer buf = RecordBuffer::fromBytes(bytes);
    for (int n = 1; n <= 50; ++n) {
        const bool present = n == 1 || n == 2 || (n >= 10 && n <= 14);
        EXPECT_EQ(Fun_GetAt4(4 * n, buf) != 0, present) << n;
    }
    const auto back = load(bytes);
    EXPECT_EQ(back->room, RoomControl{});
    EXPECT_EQ(back->room.denseDrumCount, 7);
    EXPECT_EQ(back->room.micShakeSeconds, 1);
    EXPECT_EQ(back->scenes, SceneTable{});
    EXPECT_EQ(back->scenes.at(31).name, "全开");
    EXPECT_EQ(back->effects, EffectTable{});
    EXPECT_EQ(back->thresholds.xyDefaultLimit, kDefaultXyLimit);
    EXPECT_EQ(save(*back), bytes);
}

TEST_F(WholeShowTest, FullShowSurvivesSaveLoadSave) {
    auto show = std::make_unique<FileModels>();
    // Room Control: every field away from its default.
    RoomControl& rc = show->room;
    rc = RoomControl{17, 1, 1, 1, 1, 2, 1, 1, 1, 9, 1, 20, 6, 12, 2, 3, 32, 11, 1, 9, 1, 1, 1};
    for (int key = 1; key <= kEffectorKeys; ++key) {
        setEffectorCode(rc, key, {0x11, static_cast<std::uint8_t>(key), 0x33, 0x44});
    }
    // Every Scene set.
    SceneTable& st = show->scenes;
    for (int n = 1; n <= kSceneCount; ++n) {
        setSceneName(st, n, QStringLiteral("场景%1").arg(n));
        setSceneEffect(st, n, 51 - n);
        setMainsByDmx(st, n, 1 - n % 2);
        setRelay(st, n, 1 + n % 24, 1);
        setDimmerLevel(st, n, 1 + n % 8, 1 + n % 9);
        setAudioSource(st, n, n % 6);
        setWallPanelScene(st, n, n % 31);
        setVodScene(st, n, 30 - n % 31);
        setEffectorSound(st, n, n % 7);
    }
    for (int k = 1; k <= kRelayChannels; ++k)
        setRelayRemark(st, k, QStringLiteral("继电器%1").arg(k));
    for (int k = 1; k <= kDimmerChannels; ++k)
        setDimmerRemark(st, k, QStringLiteral("调光%1").arg(k));
    // A patched room on both pages.
    for (int page = 0; page < libraryPages; ++page) {
        for (int n = 1; n <= 6; ++n) {
            Fixture& f = show->library.at(page, n);
            f.name = QStringLiteral("灯%1-%2").arg(page).arg(n);
            f.startAddress = static_cast<std::int16_t>(1 + 16 * n);
            f.port = static_cast<std::uint8_t>(page * 2);
            f.channelCount = 4;
            for (int ch = 0; ch < 4; ++ch)
                f.functions[ch] = static_cast<std::uint8_t>(kCode + ch);
        }
    }
    // Effects with both parts, Materials in several Effects: 2 and 9 as images, 4 open.
    show->effects = test::busyTable();
    for (int e : {2, 9}) {
        auto bank = std::make_unique<MaterialBank>();
        bank->at(1, 1) = sample(e, 4);
        bank->at(e, 12) = sample(e + 1, 30);
        ASSERT_TRUE(saveEffectImage(images, e, *bank, show->library));
    }
    show->currentEffect = 4;
    show->materials.at(20, 12) = sample(40, 600);
    show->materials.at(7, 3) = sample(41, 2);
    show->thresholds.xyDefaultLimit = 77;

    const QByteArray first = save(*show);
    const auto back = load(first);
    EXPECT_EQ(back->room, show->room);
    EXPECT_TRUE(back->scenes == show->scenes);
    EXPECT_EQ(back->library, show->library);
    for (int e = 1; e <= kEffectCount; ++e) {
        EXPECT_EQ(back->effects.at(e), test::asStored(show->effects.at(e))) << e;
    }
    auto four = std::make_unique<MaterialBank>();
    ASSERT_TRUE(loadEffectImage(images, 4, *four));
    EXPECT_TRUE(four->at(20, 12) == show->materials.at(20, 12));
    EXPECT_TRUE(back->materials == MaterialBank{});  // no Effect open after a load
    EXPECT_EQ(back->currentEffect, 0);
    EXPECT_EQ(save(*back), first);  // byte for byte, the same stamp given
}

// A full show saved by an earlier build of the program (the show of the test above) loads and
// saves to the very same bytes: the format has not moved.
TEST_F(WholeShowTest, AShowSavedByAnEarlierBuildSavesByteForByte) {
    const auto earlier =
        readWholeFile(QStringLiteral(KX_TEST_DATA_DIR "/full_show_earlier_build.K74"));
    ASSERT_TRUE(earlier);
    const auto back = load(*earlier);
    EXPECT_EQ(back->scenes.at(7).name, "场景7");
    EXPECT_EQ(save(*back), *earlier);
}

}  // namespace
}  // namespace kx
