#include <gtest/gtest.h>

#include "base/file_io.h"
#include "effects/effect_files.h"
#include "effects/effect_test_util.h"
#include "materials/material_bank_file.h"
#include "materials/material_record.h"
#include "materials/memory_images.h"
#include "storage/record_io.h"
#include "support/fake_platform.h"

namespace kx {

// Banks and Materials print as their shape, not as raw object bytes.
void PrintTo(const MaterialBank& bank, std::ostream* os) {
    *os << "MaterialBank{";
    for (int n = 1; n <= kMaterialsPerBank; ++n) {
        if (materialExists(bank.byNumber(n))) *os << n << " ";
    }
    *os << "}";
}
void PrintTo(const Material& m, std::ostream* os) {
    *os << "Material{" << m.stepCount() << " steps}";
}

namespace {

using namespace test;

constexpr int kCode = 7;

// A Material of 2 Virtual Fixtures x 2 channels and `steps` Steps, mapped on both pages.
Material sample(int seed, int steps = 3) {
    Material m;
    m.setFixtureCount(2);
    m.setChannelCount(2);
    m.setChannelFunction(1, kCode);
    m.setChannelFunction(2, kCode + 1);
    m.setStepCount(steps);
    m.setUnifiedTime(5 + seed);
    m.setRemark(QStringLiteral("素材%1").arg(seed));
    for (int s = 1; s <= steps; ++s) {
        for (int v = 1; v <= 2; ++v) {
            for (int k = 1; k <= 2; ++k)
                m.setValue(s, v, k, (seed * 31 + s * 7 + v * 3 + k) % 256);
        }
    }
    m.setMapped(1, 0, 1, true);
    m.setMapped(2, 1, 4, true);  // page 1: carried by the Page Blocks
    return m;
}

FixtureLibrary room() {
    FixtureLibrary lib;
    for (int page = 0; page < libraryPages; ++page) {
        for (int n = 1; n <= 4; ++n) {
            Fixture& f = lib.at(page, n);
            f.startAddress = static_cast<std::int16_t>(20 * n + 100 * page);
            f.channelCount = 2;
            f.functions[0] = kCode;
            f.functions[1] = kCode + 1;
        }
    }
    return lib;
}

struct EffectFilesTest : FakePlatformTest {
    FixtureLibrary lib = room();
    std::unique_ptr<EffectTable> effects = std::make_unique<EffectTable>();
    std::unique_ptr<MaterialBank> bank = std::make_unique<MaterialBank>();
    int currentEffect = 0;

    test::MemoryImages images;

    EffectFilesContext ctx() { return {*effects, *bank, currentEffect, lib, images}; }
    const FileDialogs dialogs{fake, fake};

    QString writeTemp(const QString& name, const QByteArray& bytes) {
        const QString path = fake.programDir() + "/" + name;
        EXPECT_TRUE(writeWholeFile(path, bytes));
        return path;
    }
};

int pageBlockSize(const Material& m, const FixtureLibrary& lib) {
    RecordBuffer buf(4096);
    int cursor = 0;
    writePageBlock(m, lib, cursor, buf);
    return cursor;
}

TEST_F(EffectFilesTest, SingleEffectFileBytesAndRoundTrip) {
    Effect plain;
    plain.remark = "E";
    const auto bytes = buildSingleEffectFile(plain, MaterialBank{}, lib);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, QByteArray::fromHex("f1042901") + zeros(20) +
                          QByteArray::fromHex("000000"     // no body
                                              "000000") +  // no Materials
                          text("E") +
                          zeros(20));

    const Effect fx = busyEffect(4);
    bank->at(1, 2) = sample(1);
    bank->at(20, 12) = sample(2, 600);
    const auto full = buildSingleEffectFile(fx, *bank, lib);
    ASSERT_TRUE(full);
    RecordBuffer buf = RecordBuffer::fromBytes(*full);
    EXPECT_EQ(Fun_GetAt3(24, buf), 30);  // the body right behind the table
    const int bankAt = Fun_GetAt3(27, buf);
    EXPECT_EQ(Fun_GetAt1(bankAt, buf), 2);  // two Materials in the bank record
    auto staged = std::make_unique<StagedEffect>();
    ASSERT_EQ(parseSingleEffectFile(*full, *staged), ParseResult::Ok);
    EXPECT_EQ(staged->effect, asStored(fx));
    EXPECT_EQ(staged->bank, *bank);
}

TEST_F(EffectFilesTest, ModuleFileWithoutMaterials) {
    Effect fx;
    setModuleRemark(fx, 4, "M");
    setMaterialAssociation(fx, 4, 1);
    setAssociationRepeat(fx, 4, 30);
    const auto bytes = buildModuleFile(fx, MaterialBank{}, 4, lib);
    ASSERT_TRUE(bytes);
    const int block = pageBlockSize(Material{}, lib);
    const int p = 46 + kModuleSettingsSize + 12 * block;  // after the first twelve Page Blocks
    const int q = p + 4 + 12 * block;
    ASSERT_EQ(bytes->size(), q + 36);
    QByteArray head = QByteArray::fromHex(
                          "f1043001"
                          "00002b") +
                      zeros(36);  // remark at 43 only
    head += text("M");
    QByteArray settings = zeros(kModuleSettingsSize);
    settings[0] = 1;   // association
    settings[1] = 30;  // repeat
    RecordBuffer s = RecordBuffer::fromBytes(settings);
    Fun_PutAt4(p, 150, s);
    Fun_PutAt4(q, 154, s);
    head += s.bytes(kModuleSettingsSize);
    EXPECT_EQ(bytes->left(46 + kModuleSettingsSize), head);
    EXPECT_EQ(bytes->mid(p, 4), QByteArray::fromHex("23042602"));
    RecordBuffer buf = RecordBuffer::fromBytes(*bytes);
    for (int slot = 1; slot <= 12; ++slot) {
        EXPECT_EQ(Fun_GetAt3(q + 3 * (slot - 1), buf), p + 4 + (slot - 1) * block);
        EXPECT_EQ(Fun_GetAt4(p + 4 + (slot - 1) * block, buf), kPageBlockTagValue);
        EXPECT_EQ(Fun_GetAt4(246 + (slot - 1) * block, buf), kPageBlockTagValue);
    }
}

TEST_F(EffectFilesTest, ModuleFileRoundTripsWithAndWithoutThePageList) {
    Effect fx = busyEffect(3);
    bank->at(6, 2) = sample(5);
    bank->at(6, 12) = sample(6, 40);
    bank->at(5, 1) = sample(7);  // another Module: not in the file
    const auto bytes = buildModuleFile(fx, *bank, 6, lib);
    ASSERT_TRUE(bytes);

    // Into another Effect whose Module 6 has other Materials and a selection of (6, 3).
    const auto importInto = [&](const QByteArray& file) {
        auto target = std::make_unique<MaterialBank>();
        target->at(6, 3) = sample(9);
        Effect other;
        setBeatSelection(other, kBassPart, 1, 1, 6, 3, 1);
        auto staged = std::make_unique<StagedModule>();
        EXPECT_EQ(parseModuleFile(file, *staged), ParseResult::Ok);
        commitModule(*staged, other, *target, 6);
        EXPECT_TRUE(beatSelected(other, kBassPart, 1, 1, 6, 3));  // the grid stays
        EXPECT_EQ(other.modules[5], fx.modules[5]);
        for (int s = 1; s <= 12; ++s)
            EXPECT_EQ(target->at(6, s), bank->at(6, s)) << s;
        return target;
    };
    importInto(*bytes);

    // A file of the older layout (P = 0): the Page Blocks are read in sequence.
    RecordBuffer old = RecordBuffer::fromBytes(*bytes);
    const int settingsAt = Fun_GetAt3(4, old) + 1 + 2 * fx.modules[5].remark.left(20).size();
    Fun_PutAt4(0, settingsAt + 150, old);
    importInto(old.bytes(old.capacity()));

    // A marker position that leads elsewhere: no Page Block is read, page 1 stays unmapped.
    Fun_PutAt4(50, settingsAt + 150, old);
    auto staged = std::make_unique<StagedModule>();
    ASSERT_EQ(parseModuleFile(old.bytes(old.capacity()), *staged), ParseResult::Ok);
    EXPECT_FALSE(staged->materials[1].isMapped(2, 1, 4));
    EXPECT_TRUE(staged->materials[1].isMapped(1, 0, 1));
}

TEST_F(EffectFilesTest, ForeignAndDamagedFilesChangeNothing) {
    bank->at(1, 1) = sample(1);
    const Effect fx = busyEffect(2);
    const QByteArray single = *buildSingleEffectFile(fx, *bank, lib);
    const QByteArray module = *buildModuleFile(fx, *bank, 1, lib);
    auto se = std::make_unique<StagedEffect>();
    auto sm = std::make_unique<StagedModule>();
    auto sa = std::make_unique<StagedAllEffects>();
    EXPECT_EQ(parseSingleEffectFile(module, *se), ParseResult::WrongTag);
    EXPECT_EQ(parseModuleFile(single, *sm), ParseResult::WrongTag);
    EXPECT_EQ(parseAllEffectsFile(single, *sa), ParseResult::WrongTag);
    EXPECT_EQ(parseSingleEffectFile(QByteArray("F1"), *se), ParseResult::WrongTag);
    for (int cut : {30, 60, 200, static_cast<int>(single.size()) - 5}) {
        EXPECT_EQ(parseSingleEffectFile(single.left(cut), *se), ParseResult::Damaged) << cut;
    }
    for (int cut : {20, 100, 400, static_cast<int>(module.size()) - 5}) {
        EXPECT_EQ(parseModuleFile(module.left(cut), *sm), ParseResult::Damaged) << cut;
    }
    EXPECT_EQ(se->effect, Effect{});
    EXPECT_EQ(sm->settings, ModuleSettings{});

    // Through the editors' operations: the message, and the show as it was.
    currentEffect = 2;
    effects->at(2) = busyEffect(8);
    const EffectTable before = *effects;
    const MaterialBank bankBefore = *bank;
    fake.dialogAnswers = {writeTemp("bad.K_1XG", single.left(100)),
                          writeTemp("wrong.K_1MK", single)};
    auto c = ctx();
    EXPECT_EQ(importEffect(c, dialogs).message, kMsgFileError);
    EXPECT_EQ(importModule(c, 1, dialogs).message, kMsgFileError);
    EXPECT_EQ(*effects, before);
    EXPECT_EQ(*bank, bankBefore);
}

TEST_F(EffectFilesTest, SingleEffectAndModuleOperations) {
    currentEffect = 7;
    effects->at(7) = busyEffect(7);
    bank->at(2, 2) = sample(3);
    ASSERT_TRUE(saveEffectImage(images, 7, *bank, lib));  // a stale image the import removes
    const QString effectPath = fake.programDir() + "/one.K_1XG";
    const QString modulePath = fake.programDir() + "/one.K_1MK";
    fake.dialogAnswers = {effectPath, modulePath};
    auto c = ctx();
    ASSERT_TRUE(exportEffect(c, dialogs).done);
    ASSERT_TRUE(exportModule(c, 2, dialogs).done);
    EXPECT_EQ(fake.dialogs[0].title, "一个效果另存为");
    EXPECT_EQ(fake.dialogs[1].title, "模块另存为");

    // Into Effect 9, open, with other content.
    currentEffect = 9;
    effects->at(9) = busyEffect(11);
    clearBank(*bank);
    bank->at(2, 5) = sample(4);
    fake.dialogAnswers = {modulePath, effectPath};
    ASSERT_TRUE(importModule(c, 2, dialogs).done);
    EXPECT_EQ(bank->at(2, 2), sample(3));
    EXPECT_FALSE(materialExists(*bank, 2, 5));  // the Module was cleared first
    ASSERT_TRUE(importEffect(c, dialogs).done);
    EXPECT_EQ(effects->at(9), asStored(busyEffect(7)));
    EXPECT_EQ(effects->at(7), busyEffect(7));
    EXPECT_TRUE(materialExists(*bank, 2, 2));
    EXPECT_FALSE(images.has(9));
    EXPECT_EQ(fake.dialogs[2].title, "导入模块");
    EXPECT_EQ(fake.dialogs[3].title, "导入一个效果");

    // No Effect open: nothing to export or import.
    currentEffect = 0;
    EXPECT_FALSE(exportEffect(c, dialogs).done);
    EXPECT_FALSE(importModule(c, 1, dialogs).done);
    EXPECT_EQ(fake.dialogs.size(), 4u);

    // Cancelled dialogs and files that cannot be written are said, not shown.
    currentEffect = 9;
    EXPECT_EQ(exportAllEffects(c, dialogs).message, "文件名错误！");
    EXPECT_EQ(exportModule(c, 1, dialogs).message, "文件名错误！");
    EXPECT_EQ(importEffect(c, dialogs).message, "读取失败");
    fake.dialogAnswers = {fake.programDir() + "/no such folder/one.K_1XG"};
    EXPECT_EQ(exportEffect(c, dialogs).message, kMsgFileSaveFailed);
    EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(EffectFilesTest, AllEffectsFileRoundTripAndImport) {
    *effects = busyTable();
    // Effect 5 has an image on disk; Effect 3 is open with its bank in memory.
    auto five = std::make_unique<MaterialBank>();
    five->at(1, 1) = sample(50);
    five->at(3, 4) = sample(51, 20);
    ASSERT_TRUE(saveEffectImage(images, 5, *five, lib));
    currentEffect = 3;
    bank->at(20, 12) = sample(30);
    const auto bytes = buildAllEffectsFile(*effects, *bank, currentEffect, lib, images);
    ASSERT_TRUE(bytes);
    RecordBuffer buf = RecordBuffer::fromBytes(*bytes);
    EXPECT_EQ(bytes->left(4), QByteArray::fromHex("f1042701"));
    for (int n = 1; n <= 50; ++n) {
        const bool present = n == kSectionMaterials || n == kSectionEffects;
        EXPECT_EQ(Fun_GetAt4(4 * n, buf) != 0, present) << n;
    }
    EXPECT_EQ(Fun_GetAt4(4 * kSectionMaterials, buf), 204 + 4);  // section 11 right after

    const EffectTable saved = *effects;
    // Import into a different show: every Effect and image replaced, no Effect open.
    clearAllEffects(*effects);
    ASSERT_TRUE(saveEffectImage(images, 8, *five, lib));  // goes away
    currentEffect = 3;
    fake.yesNoAnswers = {false, true};
    fake.dialogAnswers = {writeTemp("all.K_AXG", *bytes)};
    auto c = ctx();
    EXPECT_FALSE(importAllEffects(c, dialogs).done);  // "No": not even a dialog
    EXPECT_TRUE(fake.dialogs.empty());
    ASSERT_TRUE(importAllEffects(c, dialogs).done);
    EXPECT_EQ(fake.questions, (QStringList{kMsgAskOverwriteEffects, kMsgAskOverwriteEffects}));
    for (int e = 1; e <= kEffectCount; ++e)
        EXPECT_EQ(effects->at(e), asStored(saved.at(e))) << e;
    EXPECT_EQ(currentEffect, 0);
    EXPECT_EQ(*bank, MaterialBank{});
    EXPECT_FALSE(images.has(8));
    auto loaded = std::make_unique<MaterialBank>();
    ASSERT_TRUE(loadEffectImage(images, 5, *loaded));
    EXPECT_EQ(*loaded, *five);
    ASSERT_TRUE(loadEffectImage(images, 3, *loaded));
    EXPECT_EQ(loaded->at(20, 12), sample(30));

    // A damaged section 12 refuses the whole file: images and Effects as they were.
    QByteArray damaged = *bytes;
    const int effectsAt = Fun_GetAt4(4 * kSectionEffects, buf);
    RecordBuffer d = RecordBuffer::fromBytes(damaged);
    Fun_PutAt3(0xFFFFFF, effectsAt + 4 + 20, d);  // Effect 1's body far outside
    const EffectTable before = *effects;
    fake.yesNoAnswers = {true};
    fake.dialogAnswers = {writeTemp("bad.K_AXG", d.bytes(d.capacity()))};
    EXPECT_EQ(importAllEffects(c, dialogs).message, kMsgFileError);
    EXPECT_EQ(*effects, before);
    EXPECT_TRUE(images.has(5));

    // Images that cannot be kept are said: the import is not reported as a clean one.
    images.failWrites = true;
    fake.yesNoAnswers = {true};
    fake.dialogAnswers = {writeTemp("all2.K_AXG", *bytes)};
    const Outcome full = importAllEffects(c, dialogs);
    EXPECT_TRUE(full.done);
    EXPECT_EQ(full.message, kMsgMaterialSaveFailed);
}

}  // namespace
}  // namespace kx
