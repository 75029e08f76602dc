#include <gtest/gtest.h>

#include <QDir>

#include "base/file_io.h"
#include "fixtures/fixture_files.h"
#include "show/effect_images.h"
#include "show/show.h"
#include "storage/record_io.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

QByteArray hex(const char* h) {
    return QByteArray::fromHex(h);
}

// Where section 10's body starts: behind the tag that directory entry 10 points at.
int sectionTenBody(const QByteArray& showBytes) {
    RecordBuffer b = RecordBuffer::fromBytes(showBytes);
    return Fun_GetAt4(4 * 10, b) + 4;
}

class ShowTest : public test::FakePlatformTest {
  protected:
    AppPaths paths = AppPaths::under(fake.programDir());
    Show show;
    EffectImages images{show, paths};
    ShowFile file = makeShowFile(show, images, paths, {fake, fake});

    // A one-fixture, one-channel Material whose last Step holds value.
    static Material tiny(int steps, int value) {
        Material m;
        m.setFixtureCount(1);
        m.setChannelCount(1);
        m.setStepCount(steps);
        m.setValue(steps, 1, 1, value);
        return m;
    }

    QByteArray saved() {
        EXPECT_TRUE(file.saveShow(fake));
        return readWholeFile(paths.showFile).value_or(QByteArray());
    }
    // Everything before the stamp section (whose tag position is directory entry 14).
    static QByteArray withoutStamp(const QByteArray& bytes) {
        RecordBuffer b = RecordBuffer::fromBytes(bytes);
        QByteArray head = bytes.left(Fun_GetAt4(56, b) - 4);
        return head.replace(56, 4, QByteArray(4, '\0'));
    }
    // The one message of a refused load, and the copy of the refused file it names.
    static QStringList refusedAndKept() {
        return {"文件格式错误！！！\n原文件已备份到 灯光备份\\S7420--[260307-090504] 无法读取.K74"};
    }
    QByteArray kept() const {
        return readWholeFile(paths.backupDir + "/S7420--[260307-090504] 无法读取.K74")
            .value_or(QByteArray());
    }
};

void fill(Show& show) {
    for (int page = 0; page < 2; ++page) {
        for (int n = 1; n <= 100; n += 3) {
            Fixture& f = show.library.at(page, n);
            f.name = QString("灯%1-%2").arg(page).arg(n);
            f.channelCount = 8;
            f.startAddress = static_cast<std::int16_t>(n * 5);
            f.port = static_cast<std::uint8_t>(n % 5);
            f.functions = {1, 2, 20, 21, 22, 5, 0, 90};
            f.testValues.fill(static_cast<std::uint8_t>(n));
        }
    }
    show.thresholds.xyDefaultLimit = 77;
}

// The container around the two fixture-held sections alone: the sections of the other
// subsystems have their own layout tests, and the whole blank show its own.
TEST_F(ShowTest, AllDefaultsFixtureSectionsLayout) {
    StagedEffectImages staged;
    EXPECT_TRUE(sectionOrderValid(showSections(show, images, staged)));
    const SectionRoutines sections{
        fixtureSectionRoutine(show.library),
        thresholdsSectionRoutine(show.thresholds, show.library, show.functionNames)};
    const QByteArray bytes =
        buildShowFile(sections, showStampText(fake.time, paths.programDir)).bytes.value();
    QByteArray expected = hex("F10410A1");
    QByteArray directory(200, '\0');
    directory.replace(36, 4, hex("000000D0"));  // entry 10 -> 208
    directory.replace(48, 4, hex("0000028A"));  // entry 13 -> 650
    directory.replace(52, 4, hex("000002D8"));  // entry 14 -> 728
    expected += directory;
    expected +=
        hex("EEEEEEEE"
            "F1040401");                             // section 10 at 204
    expected += hex("0001") + QByteArray(18, '\0');  // fixture header
    expected += QByteArray(200, '\0');               // page 0: no fixtures
    expected +=
        hex("F2104301"
            "F2104301"
            "F2104301"
            "00"
            "02");
    expected += QByteArray(200, '\0');  // page 1: no fixtures
    expected +=
        hex("EEEEEEEE"
            "F1052601");                             // section 13 at 646
    expected += hex("0032") + QByteArray(38, '\0');  // XY default limit 50
    expected += QByteArray(30, '\0');                // no channel lists
    expected +=
        hex("EEEEEEEE"
            "F2012210");                                                      // section 14 at 724
    expected += QByteArray(20, '\0') + hex("00030E") + QByteArray(27, '\0');  // text at 782
    ASSERT_GT(bytes.size(), expected.size());
    EXPECT_EQ(bytes.left(expected.size()).toHex(), expected.toHex());
    RecordBuffer b = RecordBuffer::fromBytes(bytes);
    int c = 782;
    QString stamp;
    Fun_GetStr(stamp, 250, c, b);
    EXPECT_EQ(stamp, showStampText(fake.time, paths.programDir));
    EXPECT_EQ(c, bytes.size());
}

TEST_F(ShowTest, BlankTemplateIsTheSavedDefaultShow) {
    file.createBlankTemplate(fake);
    EXPECT_EQ(readWholeFile(paths.blankTemplate).value(), saved());
}

TEST_F(ShowTest, SaveLoadSaveGivesTheSameBytes) {
    fill(show);
    show.library.at(0, 1).functions[20] = 44;  // beyond channelCount: saved as 0
    const QByteArray first = saved();
    EXPECT_EQ(show.library.at(0, 1).functions[20], 0);
    const Show before = show;

    show = Show{};
    ASSERT_EQ(file.loadShow(fake), LoadResult::Loaded);
    EXPECT_EQ(show.library, before.library);
    EXPECT_EQ(show.thresholds.xyDefaultLimit, 77);
    fake.time = fake.time.addSecs(3600);
    const QByteArray second = saved();
    EXPECT_EQ(withoutStamp(second), withoutStamp(first));
    EXPECT_NE(second, first);  // only the stamp moved
    EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(ShowTest, SectionTenRoundTripsThroughAllFixturesFileToo) {
    fill(show);
    const QByteArray showBytes = saved();
    FixtureLibrary lib;
    ASSERT_EQ(readAllFixturesBytes(allFixturesBytes(show.library), lib), ParseResult::Ok);
    EXPECT_EQ(lib, show.library);
    // The same body follows both containers' headers.
    const QByteArray body = allFixturesBytes(show.library).mid(24);
    EXPECT_EQ(showBytes.mid(sectionTenBody(showBytes), body.size()), body);
}

TEST_F(ShowTest, DamagedSectionsLeaveTheLiveShowAlone) {
    fill(show);
    QByteArray good = saved();
    const Show before = show;
    const int body = sectionTenBody(good);

    // A fixture record position past the end of the file.
    QByteArray bad = good;
    bad.replace(body + 20, 2, hex("7FFF"));
    ASSERT_TRUE(writeWholeFile(paths.showFile, bad));
    EXPECT_EQ(file.loadShow(fake), LoadResult::Damaged);
    EXPECT_EQ(fake.messages, refusedAndKept());
    EXPECT_EQ(show.library, before.library);

    // Cut inside section 13.
    RecordBuffer b = RecordBuffer::fromBytes(good);
    const int thresholds = Fun_GetAt4(52, b);
    show.thresholds.xyDefaultLimit = 9;
    ASSERT_TRUE(writeWholeFile(paths.showFile, good.left(thresholds + 10)));
    EXPECT_EQ(file.loadShow(fake), LoadResult::Damaged);
    EXPECT_EQ(show.thresholds.xyDefaultLimit, 9);
    EXPECT_EQ(show.library, before.library);

    // A foreign fixture header: "版本不对", the library comes back empty, the rest loads.
    bad = good;
    bad[body + 1] = 2;
    fake.messages.clear();
    ASSERT_TRUE(writeWholeFile(paths.showFile, bad));
    EXPECT_EQ(file.loadShow(fake), LoadResult::Loaded);
    EXPECT_EQ(fake.messages, QStringList{"版本不对"});
    EXPECT_EQ(show.library, FixtureLibrary{});
    EXPECT_EQ(show.thresholds.xyDefaultLimit, 77);

    // The same foreign header with section 13 cut short: the load is refused, and what the
    // fixture section would have said is not heard on top of the format error.
    show = before;
    bad = good.left(thresholds + 10);
    bad[body + 1] = 2;
    fake.messages.clear();
    ASSERT_TRUE(writeWholeFile(paths.showFile, bad));
    EXPECT_EQ(file.loadShow(fake), LoadResult::Damaged);
    EXPECT_EQ(fake.messages, refusedAndKept());
    EXPECT_EQ(show.library, before.library);

    // Directory entry 10 cleared: an empty library without a message.
    show = before;
    bad = good;
    bad.replace(40, 4, QByteArray(4, '\0'));
    fake.messages.clear();
    ASSERT_TRUE(writeWholeFile(paths.showFile, bad));
    EXPECT_EQ(file.loadShow(fake), LoadResult::Loaded);
    EXPECT_TRUE(fake.messages.isEmpty());
    EXPECT_EQ(show.library, FixtureLibrary{});
}

TEST_F(ShowTest, AShowThatCannotBeReadIsKeptAsideByteForByte) {
    fill(show);
    const Material m = tiny(1, 200);
    show.currentEffect = 3;
    show.materials.at(1, 1) = m;
    const QByteArray good = saved();
    const Show before = show;

    // Effect 3's image inside section 11: a 3-byte length, then the image, whose fifth byte
    // is its Material count.
    RecordBuffer b = RecordBuffer::fromBytes(good);
    const int image = Fun_GetAt3(Fun_GetAt4(4 * 11, b) + 4 + 3 * 2, b) + 3;
    ASSERT_EQ(good.mid(image, 4), hex("F10416A1"));
    QByteArray badImage = good;
    badImage[image + 4] = static_cast<char>(200);
    QByteArray changed = good;
    changed.replace(sectionTenBody(good) + 20, 40, QByteArray(40, '\xFF'));
    QByteArray header = good;
    header[0] = 'K';

    for (const QByteArray& bad : {good.left(good.size() / 2), badImage, changed, header}) {
        fake.messages.clear();
        ASSERT_TRUE(writeWholeFile(paths.showFile, bad));
        EXPECT_NE(file.loadShow(fake), LoadResult::Loaded);
        EXPECT_EQ(fake.messages, refusedAndKept());
        EXPECT_EQ(kept(), bad);
        EXPECT_EQ(readWholeFile(paths.showFile).value(), bad);  // only a save writes it
        EXPECT_EQ(show.library, before.library);
        EXPECT_EQ(show.currentEffect, 3);
    }
    EXPECT_EQ(withoutStamp(saved()), withoutStamp(good));
}

TEST_F(ShowTest, ASectionWhoseEntryLeadsNowhereTakesItsDefaultsAndTheFileIsKept) {
    fill(show);
    show.room.startupScene = 7;
    show.scenes.at(4).name = QStringLiteral("生日");
    show.scenes.relayRemarks[0] = QStringLiteral("风扇");
    show.currentEffect = 3;
    show.materials.at(1, 1) = tiny(2, 90);
    show.effects.at(5).remark = QStringLiteral("慢歌");
    const QByteArray good = saved();
    const Show before = show;
    const QString copyName = QStringLiteral("S7420--[260307-090504] 部分无法读取.K74");
    const auto entryOf = [&](int section) {
        RecordBuffer b = RecordBuffer::fromBytes(good);
        return Fun_GetAt4(4 * section, b);
    };

    struct Case {
        int section;
        QByteArray entry;  // what the directory entry is overwritten with
        QString name;
        std::function<bool(const Show&)> defaulted;
    };
    const auto at = [](int position) {
        QByteArray a(4, '\0');
        for (int i = 0; i < 4; ++i)
            a[3 - i] = static_cast<char>((position >> (8 * i)) & 0xFF);
        return a;
    };
    const std::vector<Case> cases{
        {kSectionScenes, hex("FFFFFFFF"), QStringLiteral("场景"),
         [](const Show& s) { return s.scenes == SceneTable{}; }},
        {kSectionRoomControl, at(good.size() + 100), QStringLiteral("灯控"),
         [](const Show& s) { return s.room == RoomControl{}; }},
        // Inside the file, but at another section's tag.
        {kSectionFixtures, at(entryOf(kSectionEffects)), QStringLiteral("灯库"),
         [](const Show& s) { return s.library == FixtureLibrary{}; }},
        {kSectionMaterials, at(entryOf(kSectionFixtures) + 1), QStringLiteral("素材"),
         [](const Show& s) { return s.materials == MaterialBank{}; }},
        {kSectionEffects, hex("EEEEEEEE"), QStringLiteral("效果"),
         [](const Show& s) { return s.effects == EffectTable{}; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        show = before;
        QDir(paths.backupDir).removeRecursively();
        QByteArray bad = good;
        bad.replace(4 * c.section, 4, c.entry);
        fake.messages.clear();
        ASSERT_TRUE(writeWholeFile(paths.showFile, bad));
        EXPECT_EQ(file.loadShow(fake), LoadResult::Loaded);
        EXPECT_EQ(fake.messages,
                  QStringList{c.name + "数据无法读取，已使用默认值。原文件已备份到 灯光备份\\" +
                              copyName});
        EXPECT_EQ(readWholeFile(paths.backupDir + "/" + copyName).value_or(QByteArray()), bad);
        EXPECT_TRUE(c.defaulted(show));
        // The other sections came in.
        if (c.section != kSectionFixtures) {
            EXPECT_EQ(show.library, before.library);
        }
        if (c.section != kSectionScenes) {
            EXPECT_EQ(show.scenes, before.scenes);
        }
    }

    // Two sections at once are one message.
    QByteArray two = good;
    two.replace(4 * kSectionScenes, 4, hex("FFFFFFFF"));
    two.replace(4 * kSectionEffects, 4, hex("00000001"));
    fake.messages.clear();
    ASSERT_TRUE(writeWholeFile(paths.showFile, two));
    EXPECT_EQ(file.loadShow(fake), LoadResult::Loaded);
    EXPECT_EQ(
        fake.messages,
        QStringList{"场景、效果数据无法读取，已使用默认值。原文件已备份到 灯光备份\\" + copyName});

    // A section the file simply does not have is no damage, and nothing is kept.
    QByteArray absent = good;
    absent.replace(4 * kSectionScenes, 4, QByteArray(4, '\0'));
    QDir(paths.backupDir).removeRecursively();
    fake.messages.clear();
    ASSERT_TRUE(writeWholeFile(paths.showFile, absent));
    EXPECT_EQ(file.loadShow(fake), LoadResult::Loaded);
    EXPECT_TRUE(fake.messages.isEmpty());
    EXPECT_FALSE(QDir(paths.backupDir).exists());
    StagedEffectImages staged;
    EXPECT_TRUE(unreachableSections(absent, showSections(show, images, staged)).empty());
}

TEST_F(ShowTest, BackupSavesTheGroupsFileOnlyWhenChanged) {
    saved();
    setGroupMember(show.groups, 1, 5, true);
    file.backupShow(fake, "点击保存");
    EXPECT_FALSE(fileExists(paths.fixtureGroups));
    loadFixtureGroups(show.groups, paths.fixtureGroups, true, paths.backupDir);
    file.backupShow(fake, "点击保存");
    EXPECT_EQ(readWholeFile(paths.fixtureGroups).value(), groupsFileBytes(show.groups));
}

TEST_F(ShowTest, AGroupsFileThatCannotBeSavedIsSaidAndTheBackupStillMade) {
    saved();
    loadFixtureGroups(show.groups, paths.fixtureGroups, true, paths.backupDir);
    ASSERT_TRUE(QDir().mkpath(paths.fixtureGroups));  // a folder where the file should be
    file.backupShow(fake, "点击保存");
    EXPECT_EQ(fake.messages, QStringList{"灯具组文件保存失败！"});
    EXPECT_TRUE(fileExists(paths.backupDir + "/S7420--[260307-090504] 点击保存.K74"));
}

TEST_F(ShowTest, ALoadWhoseMaterialImagesCannotBeWrittenSaysSo) {
    const Material m = tiny(1, 200);
    show.currentEffect = 3;
    show.materials.at(1, 1) = m;
    saved();
    // The working folder of the images is gone and a file stands in its place.
    QDir(paths.scTemp).removeRecursively();
    ASSERT_TRUE(writeWholeFile(paths.scTemp, "x"));
    EXPECT_EQ(file.loadShow(fake), LoadResult::Loaded);
    EXPECT_EQ(fake.messages, QStringList{"素材保存失败！！！"});

    // With a foreign fixture header as well, both are said once each, in the order met.
    QByteArray foreign = readWholeFile(paths.showFile).value();
    foreign[sectionTenBody(foreign) + 1] = 2;
    ASSERT_TRUE(writeWholeFile(paths.showFile, foreign));
    fake.messages.clear();
    EXPECT_EQ(file.loadShow(fake), LoadResult::Loaded);
    EXPECT_EQ(fake.messages, (QStringList{"版本不对", "素材保存失败！！！"}));
}

// The images' one owner keeps them as working files: opening another Effect writes the open bank
// to its file and loads the other's, an emptied bank loses its file, a load replaces them all and
// a missing Show File removes them.
TEST_F(ShowTest, TheImagesOwnerKeepsEveryEffectsMaterialsInItsWorkingFile) {
    const Material m = tiny(2, 99);
    ASSERT_TRUE(images.open(3).done);
    show.materials.at(1, 1) = m;
    ASSERT_TRUE(images.flush());
    EXPECT_TRUE(fileExists(paths.effectImage(3)));
    EXPECT_EQ(show.currentEffect, 3);
    ASSERT_TRUE(images.open(8).done);
    EXPECT_FALSE(bankHasMaterials(show.materials));
    ASSERT_TRUE(images.open(3).done);
    EXPECT_EQ(show.materials.at(1, 1).value(2, 1, 1), 99);

    // A save carries image 3, and a load of that file puts it back after every image went.
    const QByteArray bytes = saved();
    ASSERT_TRUE(images.open(0).done);
    images.clear();
    EXPECT_FALSE(fileExists(paths.effectImage(3)));
    EXPECT_EQ(file.loadShow(fake), LoadResult::Loaded);
    EXPECT_EQ(show.currentEffect, 0);
    EXPECT_TRUE(fileExists(paths.effectImage(3)));
    ASSERT_TRUE(images.open(3).done);
    EXPECT_EQ(show.materials.at(1, 1).value(2, 1, 1), 99);

    clearBank(show.materials);
    ASSERT_TRUE(images.open(0).done);  // an emptied bank loses its file
    EXPECT_FALSE(fileExists(paths.effectImage(3)));

    ASSERT_TRUE(writeWholeFile(paths.effectImage(5), bytes.left(0) + "x"));
    removeFile(paths.showFile);
    EXPECT_EQ(file.loadShow(fake), LoadResult::Missing);
    EXPECT_FALSE(fileExists(paths.effectImage(5)));
}

}  // namespace
}  // namespace kx
