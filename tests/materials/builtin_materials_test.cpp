#include <gtest/gtest.h>

#include <QDir>
#include <QStringEncoder>

#include "base/file_io.h"
#include "material_test_util.h"
#include "materials/builtin_materials_state.h"
#include "materials/material_exchange.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

using test::sized;

class BuiltInMaterialsTest : public test::FakePlatformTest {
  protected:
    QString appSet() const { return fake.dir.path() + "/AppSet"; }
    QString folder(const QString& library, int category) const {
        return builtInFolder(appSet(), library, category);
    }
    // A K_1SC file of a small Material whose only value is `value`.
    QString put(const QString& library, int category, const QString& name, int value = 1) {
        QDir().mkpath(folder(library, category));
        Material m = sized(1, 1, 1);
        m.setValue(1, 1, 1, value);
        const QString path = folder(library, category) + "/" + name + ".K_1SC";
        writeWholeFile(path, *buildSingleMaterialFile(m, FixtureLibrary{}));
        return path;
    }
    void putRaw(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).path());
        writeWholeFile(path, bytes);
    }
};

TEST_F(BuiltInMaterialsTest, ListingCaptionsAndDescriptions) {
    EXPECT_EQ(builtInCategoryCaption(4), "唱歌-RGB");
    EXPECT_EQ(builtInCategoryCaption(7), "色盘+图案");
    EXPECT_EQ(builtInCategoryCaption(9), "");
    EXPECT_EQ(folder("标准素材", 4), appSet() + "/标准素材/唱歌-RGB");

    const QString path = put("标准素材", 4, "柔和蓝");
    putRaw(folder("标准素材", 4) + "/柔和蓝.txt",
           QStringEncoder("GBK").encode(u"蓝色慢变\r\n两行"));
    putRaw(folder("标准素材", 4) + "/notes.txt", "not listed");
    put("标准素材", 4, "无字");
    const auto entries = listBuiltInMaterials(folder("标准素材", 4));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1], (BuiltInEntry{"柔和蓝", path}));
    EXPECT_EQ(builtInDescription(entries[1]), "蓝色慢变\r\n两行\r\n");
    EXPECT_EQ(builtInDescription(entries[0]), "无说明");
    putRaw(folder("标准素材", 4) + "/无字.txt", "\r\n");
    EXPECT_EQ(builtInDescription(entries[0]), "无说明");
    EXPECT_EQ(builtInDescription({}), "无说明");

    EXPECT_TRUE(listBuiltInMaterials(folder("个性素材", 4)).empty());
}

TEST_F(BuiltInMaterialsTest, AFolderOfMoreThanFortyOffersTheFirstForty) {
    for (int i = 0; i < 45; ++i)
        put("个性素材", 8, QString("m%1").arg(i, 2, 10, QChar('0')));
    const auto entries = listBuiltInMaterials(folder("个性素材", 8));
    ASSERT_EQ(entries.size(), 40u);
    EXPECT_EQ(entries.front().caption, "m00");
    EXPECT_EQ(entries.back().caption, "m39");
}

TEST_F(BuiltInMaterialsTest, ImportAsksAndReplacesOnlyOnYes) {
    const BuiltInEntry entry{"跑马", put("标准素材", 1, "跑马", 77)};
    Material m = sized(2, 2, 2);
    const Material before = m;

    EXPECT_FALSE(importBuiltInMaterial(entry, m, fake).done);
    EXPECT_EQ(fake.questions, QStringList{"是否导入  [跑马]"});
    EXPECT_EQ(m, before);

    fake.yesNoAnswers = {true};
    const Outcome yes = importBuiltInMaterial(entry, m, fake);
    EXPECT_TRUE(yes.done);
    EXPECT_TRUE(yes.message.isEmpty());
    EXPECT_EQ(m.fixtureCount(), 1);
    EXPECT_EQ(m.value(1, 1, 1), 77);
}

TEST_F(BuiltInMaterialsTest, FilesThatAreNoMaterialSayReadFailedAndChangeNothing) {
    const QString good = put("标准素材", 2, "好");
    const QByteArray bytes = *readWholeFile(good);
    const QString foreign = folder("标准素材", 2) + "/外来.K_1SC";
    QByteArray wrongTag = bytes;
    wrongTag[3] = 0x02;
    putRaw(foreign, wrongTag);
    const QString truncated = folder("标准素材", 2) + "/截断.K_1SC";
    putRaw(truncated, bytes.left(30));
    const QString empty = folder("标准素材", 2) + "/空.K_1SC";
    putRaw(empty, {});

    Material m = sized(3, 1, 1);
    m.setValue(1, 2, 1, 5);
    const Material before = m;
    for (const QString& path : {foreign, truncated, empty, folder("标准素材", 2) + "/缺.K_1SC"}) {
        const Outcome o = readBuiltInMaterial({"x", path}, m);
        EXPECT_FALSE(o.done) << path.toStdString();
        EXPECT_EQ(o.message, "读取失败");
        EXPECT_EQ(m, before);
    }
}

TEST_F(BuiltInMaterialsTest, PanelStateSwitchesLibrariesKeepingTheCategory) {
    put("标准素材", 1, "甲");
    put("标准素材", 3, "乙");
    put("个性素材", 3, "丙");
    put("个性素材", 3, "丁");
    BuiltInMaterialsState s(appSet());
    const BuiltInColours grey;
    EXPECT_FALSE(s.shown());
    EXPECT_EQ(s.category(), 1);

    s.openLibrary("标准素材");
    EXPECT_TRUE(s.shown());
    EXPECT_EQ(s.library(), "标准素材");
    ASSERT_EQ(s.entries().size(), 1u);
    EXPECT_EQ(s.entry(1).caption, "甲");
    EXPECT_EQ(s.entry(2), BuiltInEntry{});
    EXPECT_EQ(s.libraryColour("标准素材", grey), 0x00FFFFu);
    EXPECT_EQ(s.libraryColour("个性素材", grey), 0xC0C0C0u);
    EXPECT_EQ(s.categoryColour(1, grey), 0x807FFFu);
    EXPECT_EQ(s.categoryColour(2, grey), 0xC0C0C0u);

    s.showDescription(1);
    EXPECT_TRUE(s.descriptionShown());
    EXPECT_EQ(s.description(), "无说明");
    s.selectCategory(3);
    EXPECT_FALSE(s.descriptionShown());
    EXPECT_EQ(s.entry(1).caption, "乙");

    s.openLibrary("个性素材");
    EXPECT_TRUE(s.shown());
    EXPECT_EQ(s.category(), 3);
    EXPECT_EQ(s.entries().size(), 2u);
    EXPECT_EQ(s.libraryColour("标准素材", grey), 0xC0C0C0u);

    s.showDescription(2);
    s.openLibrary("个性素材");
    EXPECT_FALSE(s.shown());
    EXPECT_FALSE(s.descriptionShown());
    EXPECT_EQ(s.libraryColour("个性素材", grey), 0xC0C0C0u);

    const BuiltInColours custom = builtInColours(true, 0x112233, 0x445566);
    s.openLibrary("标准素材");
    EXPECT_EQ(s.libraryColour("标准素材", custom), 0x445566u);
    EXPECT_EQ(s.libraryColour("个性素材", custom), 0x112233u);
    EXPECT_EQ(s.categoryColour(3, custom), 0x445566u);
    EXPECT_EQ(builtInColours(false, 0x112233, 0x445566).category, 0x807FFFu);
}

}  // namespace
}  // namespace kx
