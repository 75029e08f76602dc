#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "base/file_io.h"
#include "material_test_util.h"
#include "materials/material_bank_file.h"
#include "materials/material_exchange.h"
#include "materials/materials_section.h"
#include "materials/memory_images.h"
#include "storage/record_io.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

using test::Bytes;
using test::patch;
using test::sized;

// Module 1 Slot 2: one Virtual Fixture, one channel, one Step with value 0x80; no mapping.
MaterialBank tinyBank() {
    MaterialBank bank;
    bank.at(1, 2) = sized(1, 1, 1);
    bank.at(1, 2).setValue(1, 1, 1, 0x80);
    bank.at(1, 5) = sized(1, 0, 3);  // no channels: does not exist, not saved
    return bank;
}

TEST(EffectImage, TinyBankIsByteExact) {
    Bytes e;
    e({0xF1, 0x04, 0x16, 0xA1});  // 0: image tag
    e({1})({2}).u24(9);           // 4: M = 1; directory: Material 2 at 9
    e.u16(1)({0, 0})
        .u16(0)({1, 1})({0, 0, 0, 0})  // 9: header: 1 Step, no flags, F 1, C 1
        .u24(55)
        .zeros(5);                             //    Page Block at 55
    e.u24(48).u24(50).u24(0).u24(53).u24(44);  // 29: P1, P2, P3, P4, Step 1
    e.u16(0)({0, 0x80});                       // 44: Step 1
    e({0})({0});                               // 48: Mapping Block: function 0, no fixtures
    e.u16(0)({0});                             // 50: Address Table: empty
    e({0})({0});                               // 53: no remark, no Temporary Channels
    e({0xF1, 0x05, 0x01, 0x01}).u24(120).u24(122).zeros(54)({2});  // 55: Page Block
    e({0})({0}).u16(0)({0});                                       // 120: page 1 tables
    const FixtureLibrary lib;
    const auto image = buildEffectImage(tinyBank(), lib);
    ASSERT_TRUE(image);
    EXPECT_EQ(test::toVector(*image), e.v);

    MaterialBank back;
    ASSERT_EQ(parseEffectImage(*image, back), ParseResult::Ok);
    MaterialBank expected = tinyBank();
    clearMaterial(expected, 1, 5);
    EXPECT_EQ(back, expected);
    EXPECT_EQ(buildEffectImage(MaterialBank{}, lib)->size(), 0);  // an empty bank writes nothing
}

TEST(EffectImage, DamagedImagesLeaveTheBankUnchanged) {
    const FixtureLibrary lib;
    const QByteArray image = *buildEffectImage(tinyBank(), lib);
    MaterialBank target;
    target.at(20, 12) = sized(1, 1, 1);
    const MaterialBank before = target;
    for (int cut = 5; cut < image.size(); cut += 3) {
        const ParseResult r = parseEffectImage(image.left(cut), target);
        EXPECT_NE(r, ParseResult::Ok) << cut;
        EXPECT_EQ(target, before);
    }
    QByteArray count = image;
    count[4] = static_cast<char>(241);
    EXPECT_EQ(parseEffectImage(count, target), ParseResult::Damaged);
    QByteArray number = image;
    number[5] = static_cast<char>(250);  // selects no Material: an empty bank
    EXPECT_EQ(parseEffectImage(number, target), ParseResult::Ok);
    EXPECT_FALSE(bankHasMaterials(target));
}

class MaterialFilesTest : public test::FakePlatformTest {
  protected:
    AppPaths paths = AppPaths::under(fake.programDir());
    test::MemoryImages images;
    FixtureLibrary lib;
    MaterialBank bank;
    int current = 0;

    Material sample(int value) {
        Material m = sized(2, 1, 2);
        m.setValue(1, 2, 1, value);
        m.setChannelFunction(1, 20);
        m.setMapped(2, 0, 1, true);
        m.setMapped(1, 0, 50, true);  // not patched
        m.setRemark("r");
        return m;
    }
};

TEST_F(MaterialFilesTest, SwitchingEffectsKeepsEachBankInItsImage) {
    patch(lib, 0, 1, 0, 1, {20});
    ASSERT_TRUE(switchEffect(2, current, bank, lib, images).done);
    bank.at(1, 1) = sample(11);
    ASSERT_TRUE(switchEffect(5, current, bank, lib, images).done);
    EXPECT_TRUE(images.has(2));
    EXPECT_FALSE(bankHasMaterials(bank));
    bank.at(2, 3) = sample(55);
    ASSERT_TRUE(switchEffect(2, current, bank, lib, images).done);
    EXPECT_EQ(bank.at(1, 1).value(1, 2, 1), 11);
    EXPECT_TRUE(bank.at(1, 1).isMapped(2, 0, 1));
    EXPECT_FALSE(bank.at(1, 1).isMapped(1, 0, 50));
    EXPECT_FALSE(materialExists(bank, 2, 3));
    ASSERT_TRUE(switchEffect(5, current, bank, lib, images).done);
    EXPECT_EQ(bank.at(2, 3).value(1, 2, 1), 55);

    clearBank(bank);  // an emptied bank loses its image on the next switch
    ASSERT_TRUE(switchEffect(2, current, bank, lib, images).done);
    EXPECT_FALSE(images.has(5));
}

TEST_F(MaterialFilesTest, SectionCarriesEveryImageInEffectOrder) {
    patch(lib, 0, 1, 0, 1, {20});
    ASSERT_TRUE(switchEffect(7, current, bank, lib, images).done);
    bank.at(1, 1) = sample(7);
    ASSERT_TRUE(switchEffect(3, current, bank, lib, images).done);
    bank.at(4, 4) = sample(3);
    bank.at(4, 5) = sample(0);
    bank.at(4, 5).setRemark("a name longer than twenty");
    bank.at(4, 6) = sized(1, 1, 0);  // no Steps: does not exist

    RecordBuffer buf(8192);
    int cursor = 204;
    saveMaterialsSection(buf, cursor, bank, current, lib, images);
    ASSERT_TRUE(buf.ok());
    const QByteArray image3 = images.image(3);
    const QByteArray image7 = images.image(7);
    Bytes e;
    e({0xEE, 0xEE, 0xEE, 0xEE, 0xF1, 0x04, 0x17, 0xA1});  // 204: section frame
    const int first = 212 + 150;
    for (int n = 1; n <= 50; ++n)
        e.u24(n == 3 ? first : n == 7 ? first + 3 + image3.size() : 0);
    e.u24(image3.size()).append(image3);
    e.u24(image7.size()).append(image7);
    e.zeros(50);  // trailer
    EXPECT_EQ(test::toVector(buf.bytes(cursor).mid(204)), e.v);
    EXPECT_EQ(Fun_GetAt4(4 * 11, buf), 208);

    // Memory now holds exactly what image 3 holds.
    MaterialBank fromImage;
    ASSERT_EQ(parseEffectImage(image3, fromImage), ParseResult::Ok);
    EXPECT_EQ(bank, fromImage);
    EXPECT_EQ(bank.at(4, 5).remark(), "a name longer than t");
    EXPECT_FALSE(bank.at(4, 4).isMapped(1, 0, 50));

    // Loading stages the images; the commit replaces every image file and closes the Effect.
    StagedEffectImages staged;
    ASSERT_TRUE(loadMaterialsSection(buf, staged));
    EXPECT_EQ(staged.images[3], image3);
    EXPECT_EQ(staged.images[7], image7);
    EXPECT_TRUE(staged.images[1].isEmpty());
    images.setImage(9, "stale");
    ASSERT_TRUE(commitMaterialsSection(staged, images, bank, current));
    EXPECT_EQ(current, 0);
    EXPECT_FALSE(bankHasMaterials(bank));
    EXPECT_FALSE(images.has(9));
    EXPECT_EQ(images.image(7), image7);
}

TEST_F(MaterialFilesTest, EmptiedBankLeavesTheSectionWithAZeroEntry) {
    ASSERT_TRUE(switchEffect(4, current, bank, lib, images).done);
    bank.at(1, 1) = sample(1);
    RecordBuffer buf(8192);
    int cursor = 204;
    saveMaterialsSection(buf, cursor, bank, current, lib, images);
    EXPECT_TRUE(images.has(4));
    clearBank(bank);
    cursor = 204;
    RecordBuffer again(8192);
    saveMaterialsSection(again, cursor, bank, current, lib, images);
    EXPECT_FALSE(images.has(4));
    EXPECT_EQ(cursor, 212 + 150 + 50);
    EXPECT_EQ(Fun_GetAt3(212 + 9, again), 0);
}

TEST_F(MaterialFilesTest, DamagedSectionIsRefusedAndAMissingOneStagesNothing) {
    ASSERT_TRUE(switchEffect(1, current, bank, lib, images).done);
    bank.at(1, 1) = sample(1);
    RecordBuffer buf(4096);
    int cursor = 204;
    saveMaterialsSection(buf, cursor, bank, current, lib, images);
    const QByteArray good = buf.bytes(cursor);
    StagedEffectImages staged;
    staged.images[9] = "kept";
    auto load = [&](const QByteArray& bytes) {
        RecordBuffer b = RecordBuffer::fromBytes(bytes);
        return loadMaterialsSection(b, staged);
    };
    QByteArray length = good;
    length[212 + 150] = 0x40;  // image length far past the end
    EXPECT_FALSE(load(length));
    QByteArray entry = good;
    entry[212] = 0x7F;
    EXPECT_FALSE(load(entry));
    QByteArray inner = good;
    inner[212 + 150 + 3 + 4] = static_cast<char>(200);  // image claims 200 Materials
    EXPECT_FALSE(load(inner));
    EXPECT_EQ(staged.images[9], "kept");

    QByteArray noSection = good;
    noSection[4 * 11 + 3] = 0;
    ASSERT_TRUE(load(noSection));
    for (const auto& image : staged.images)
        EXPECT_TRUE(image.isEmpty());
}

TEST_F(MaterialFilesTest, ABankBeyondTheFileIsKeptInMemory) {
    ASSERT_TRUE(switchEffect(6, current, bank, lib, images).done);
    for (int n = 1; n <= 6; ++n) {  // 6 x 600 x 40 x 32 values: more than a Show File holds
        Material& m = bank.byNumber(n);
        m = sized(kMaxVirtualFixtures, kMaxMaterialChannels, kMaxSteps);
        for (int s = 1; s <= kMaxSteps; ++s)
            std::ranges::fill(m.stepValues(s), 1);
    }
    const Outcome kept = switchEffect(2, current, bank, lib, images);
    EXPECT_FALSE(kept.done);
    EXPECT_EQ(kept.message, "素材保存失败！！！");
    EXPECT_EQ(current, 6);
    EXPECT_FALSE(buildSingleMaterialFile(bank.byNumber(1), lib) == std::nullopt);

    RecordBuffer buf(kShowFileCapacity);
    int cursor = 204;
    saveMaterialsSection(buf, cursor, bank, current, lib, images);
    EXPECT_FALSE(buf.ok());
    EXPECT_GT(cursor, buf.capacity());  // reported by the Show File as too large
    EXPECT_TRUE(materialExists(bank, 1, 6));
    EXPECT_EQ(bank.byNumber(6).value(600, 40, 32), 1);
}

TEST_F(MaterialFilesTest, ExportImportAndClipboard) {
    Material m = sample(42);
    const QString file = fake.programDir() + "/one.K_1SC";
    const FileDialogs dialogs{fake, fake};
    fake.dialogAnswers.push_back(file);
    ASSERT_TRUE(exportMaterial(m, lib, dialogs).done);
    EXPECT_EQ(fake.dialogs.back().title, "保存素材");
    const Outcome cancelled = exportMaterial(m, lib, dialogs);
    EXPECT_FALSE(cancelled.done);  // nothing, no message
    EXPECT_EQ(cancelled.message, "");

    Material target;
    fake.dialogAnswers.push_back(file);
    ASSERT_TRUE(importMaterial(target, dialogs).done);
    EXPECT_EQ(fake.dialogs.back().title, "读取素材");
    EXPECT_EQ(target.value(1, 2, 1), 42);

    EXPECT_EQ(importMaterial(target, dialogs).message, "读取失败");  // no file chosen

    writeWholeFile(file, QByteArray("\x00\x01\x02\x03\x04", 5));
    fake.dialogAnswers.push_back(file);
    const Material before = target;
    const Outcome foreign = importMaterial(target, dialogs);
    EXPECT_FALSE(foreign.done);  // foreign tag: silently nothing
    EXPECT_EQ(foreign.message, "");
    EXPECT_EQ(target, before);

    fake.yesNoAnswers.push_back(true);
    EXPECT_EQ(pasteMaterialFromClipboard(target, paths, fake).message,
              "读取失败");  // no clipboard yet
    EXPECT_EQ(fake.questions.back(), "是否覆盖当前素材?");
    ASSERT_TRUE(copyMaterialToClipboard(sample(99), lib, paths).done);
    EXPECT_FALSE(pasteMaterialFromClipboard(target, paths, fake).done);  // answered No
    EXPECT_EQ(target, before);
    fake.yesNoAnswers.push_back(true);
    ASSERT_TRUE(pasteMaterialFromClipboard(target, paths, fake).done);
    EXPECT_EQ(target.value(1, 2, 1), 99);

    // A clipboard cut short and an unwritable one are said, not shown.
    QByteArray cut = readWholeFile(paths.materialClipboard).value();
    cut.chop(1);
    ASSERT_TRUE(writeWholeFile(paths.materialClipboard, cut));
    fake.yesNoAnswers.push_back(true);
    EXPECT_EQ(pasteMaterialFromClipboard(target, paths, fake).message, "读取失败");
    EXPECT_EQ(target.value(1, 2, 1), 99);
    QFile::remove(paths.materialClipboard);
    ASSERT_TRUE(QDir().mkpath(paths.materialClipboard));
    EXPECT_EQ(copyMaterialToClipboard(m, lib, paths).message, "素材保存失败！！！");
    EXPECT_TRUE(fake.messages.isEmpty());
}

}  // namespace
}  // namespace kx
