#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "base/file_io.h"
#include "materials/material_bank_file.h"
#include "materials/materials_section.h"
#include "show/effect_images.h"
#include "show/show_recovery.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

// A save builds from a copy of the show beside the interface and writes the Effect Material
// Images only where their bytes change; the recovery takes the saved file's digest.
class ShowSavingTest : public test::FakePlatformTest {
  protected:
    ShowSavingTest() { QDir().mkpath(paths.scTemp); }

    AppPaths paths = AppPaths::under(fake.programDir());
    Show show;
    EffectImages images{show, paths};
    ShowRecovery recovery{show, images, paths, fake};
    ShowFile file = makeShowFile(show, images, paths, {fake, fake},
                                 {{}, {}, [this] { recovery.saved(file.writtenDigest()); }});

    // Material 1 of module 1: one fixture, channel 1 stepping through values.
    static Material stepping(int steps) {
        Material m;
        m.setFixtureCount(1);
        m.setChannelCount(1);
        m.setStepCount(steps);
        m.setChannelFunction(1, 1);
        for (int s = 1; s <= steps; ++s)
            m.setValue(s, 1, 1, 10 + s);
        m.setMapped(1, 0, 1, true);
        return m;
    }
    // Fixture 1 of page 0: two channels from start, Channel Function 1 on the first.
    void patchFixtureOne(int start) {
        Fixture& f = show.library.at(0, 1);
        f.startAddress = static_cast<std::int16_t>(start);
        f.channelCount = 2;
        f.functions[0] = 1;
    }
    // Sets a working file's time an hour back, so a rewrite shows.
    QDateTime age(const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadWrite));
        const QDateTime old = QDateTime::currentDateTime().addSecs(-3600);
        f.setFileTime(old, QFileDevice::FileModificationTime);
        return QFileInfo(path).lastModified();
    }
    QDateTime modified(const QString& path) const { return QFileInfo(path).lastModified(); }
};

TEST_F(ShowSavingTest, TheLiveShowIsSettledAsItsOwnWritersWouldAndTheRecoveryAgrees) {
    patchFixtureOne(2);
    show.library.at(0, 1).functions[9] = 22;  // above the channel count
    ASSERT_TRUE(images.open(4).done);
    show.materials.at(1, 1) = stepping(3);
    setSceneName(show.scenes, 2, "开场");
    ASSERT_TRUE(file.saveShow(fake));

    EXPECT_EQ(show.library.at(0, 1).functions[9], 0);
    EXPECT_EQ(show.currentEffect, 4);
    // The open bank holds exactly what its image holds.
    MaterialBank fromImage;
    ASSERT_TRUE(loadEffectImage(images, 4, fromImage));
    EXPECT_EQ(show.materials, fromImage);
    EXPECT_EQ(show.materials.at(1, 1).value(3, 1, 1), 13);

    // The digest of the saved bytes is the show's own: nothing to keep until an edit.
    EXPECT_FALSE(recovery.keepIfChanged());
    EXPECT_FALSE(fileExists(paths.recoveryFile));
    setSceneName(show.scenes, 2, "终场");
    EXPECT_TRUE(recovery.keepIfChanged());
    setSceneName(show.scenes, 2, "开场");
    EXPECT_FALSE(recovery.keepIfChanged());
    EXPECT_FALSE(fileExists(paths.recoveryFile));

    // Saved again at another moment: another stamp, the same show.
    const QByteArray digest = file.writtenDigest();
    fake.time = fake.time.addSecs(90);
    ASSERT_TRUE(file.saveShow(fake));
    EXPECT_EQ(file.writtenDigest(), digest);
    // A copy written elsewhere is not the Show File.
    setSceneName(show.scenes, 3, "间场");
    ASSERT_TRUE(file.saveShow(fake, fake.dir.filePath("elsewhere.K74")));
    EXPECT_EQ(file.writtenDigest(), digest);
}

TEST_F(ShowSavingTest, ACheckRunningWhenTheShowIsSavedLeavesNoRecoveryFile) {
    ASSERT_TRUE(file.saveShow(fake));
    for (int round = 0; round < 5; ++round) {
        setSceneName(show.scenes, 1, QString("第%1场").arg(round));
        fake.clock += kRecoveryIntervalMs;
        recovery.tick();  // the check starts on a copy and runs beside the save
        ASSERT_TRUE(file.saveShow(fake));
        EXPECT_FALSE(fileExists(paths.recoveryFile));
    }
    // The last check ends with the recovery: whatever it would still have written is dropped.
    {
        ShowRecovery last(show, images, paths, fake);
        last.loaded();
        setSceneName(show.scenes, 1, "末场");
        fake.clock += kRecoveryIntervalMs;
        last.tick();
        last.saved(QByteArray("not this show"));
    }
    EXPECT_FALSE(fileExists(paths.recoveryFile));
    EXPECT_FALSE(fileExists(paths.recoveryFile + ".part"));
}

TEST_F(ShowSavingTest, WorkingFilesAreWrittenOnlyWhereTheirBytesChange) {
    patchFixtureOne(1);
    MaterialBank bank;
    bank.at(1, 1) = stepping(2);
    ASSERT_TRUE(saveEffectImage(images, 7, bank, show.library));
    bank.at(1, 1) = stepping(5);
    ASSERT_TRUE(saveEffectImage(images, 9, bank, show.library));
    ASSERT_TRUE(file.saveShow(fake));
    const QByteArray image7 = images.image(7);
    const QDateTime aged7 = age(paths.effectImage(7));
    const QDateTime aged9 = age(paths.effectImage(9));

    // A save rebuilds both images to the same bytes: neither file is touched.
    ASSERT_TRUE(file.saveShow(fake));
    EXPECT_EQ(modified(paths.effectImage(7)), aged7);
    EXPECT_EQ(modified(paths.effectImage(9)), aged9);

    // The fixture moved: the images are rebuilt against it, and rewritten.
    patchFixtureOne(40);
    ASSERT_TRUE(file.saveShow(fake));
    EXPECT_NE(images.image(7), image7);
    EXPECT_NE(modified(paths.effectImage(7)), aged7);
    const QByteArray rebuilt7 = images.image(7);
    const QByteArray saved = readWholeFile(paths.showFile).value();

    // A load keeps the images that already hold the file's bytes, replaces a changed one and
    // removes those the file does not carry.
    const QDateTime again9 = age(paths.effectImage(9));
    // Image 7 differs from the file's only in its last byte.
    QByteArray changed7 = rebuilt7;
    changed7.back() = static_cast<char>(changed7.back() ^ 1);
    ASSERT_TRUE(writeWholeFile(paths.effectImage(7), changed7));
    ASSERT_TRUE(writeWholeFile(paths.effectImage(12), "not in the file"));
    EXPECT_EQ(file.loadShow(fake), LoadResult::Loaded);
    EXPECT_EQ(modified(paths.effectImage(9)), again9);
    EXPECT_EQ(images.image(7), rebuilt7);
    EXPECT_FALSE(fileExists(paths.effectImage(12)));
    EXPECT_TRUE(fake.messages.isEmpty());
    EXPECT_EQ(readWholeFile(paths.showFile).value(), saved);
}

// A save reads each stored image straight into the file it builds: only into room enough for
// it, and a missing image is none.
TEST_F(ShowSavingTest, TheStoreCopiesAnImageOnlyWhereItFits) {
    ASSERT_TRUE(writeWholeFile(paths.effectImage(4), "image four"));
    std::array<std::uint8_t, 12> room{};
    room.fill(0xEE);
    EXPECT_EQ(images.copyImage(4, std::span(room).first(9)), 10);
    EXPECT_EQ(room[0], 0xEE);
    EXPECT_EQ(images.copyImage(4, room), 10);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(room.data()), 11), "image four\xEE");
    EXPECT_EQ(images.copyImage(5, room), 0);
}

// A stored image that is not what the library makes of it is rebuilt, or dropped when it does not
// parse; what the save read of it is no part of the file, however far it reached.
TEST_F(ShowSavingTest, AStoredImageTheSaveCannotTakeLeavesNothingOfItsBytes) {
    patchFixtureOne(1);
    MaterialBank bank;
    bank.at(1, 1) = stepping(3);
    ASSERT_TRUE(saveEffectImage(images, 6, bank, show.library));
    ASSERT_TRUE(file.saveShow(fake));
    const QByteArray clean = file.writtenDigest();

    ASSERT_TRUE(writeWholeFile(paths.effectImage(4), QByteArray(256 * 1024, '\xAB')));
    ASSERT_TRUE(file.saveShow(fake));
    EXPECT_FALSE(fileExists(paths.effectImage(4)));
    EXPECT_EQ(file.writtenDigest(), clean);
    EXPECT_TRUE(fake.messages.isEmpty());

    // Past the section's end the buffer is all zeros again, as the writers after it expect.
    ASSERT_TRUE(writeWholeFile(paths.effectImage(4), QByteArray(256 * 1024, '\xAB')));
    RecordBuffer buf(kShowFileCapacity);
    int cursor = 0;
    MaterialBank none;
    saveMaterialsSection(buf, cursor, none, 0, show.library, images);
    ASSERT_TRUE(buf.ok());
    const auto rest = buf.view().subspan(static_cast<std::size_t>(cursor));
    EXPECT_TRUE(std::all_of(rest.begin(), rest.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(ShowSavingTest, ADamagedImageInTheFileIsRefusedEvenWhenItsIntactFormWasSeen) {
    patchFixtureOne(1);
    ASSERT_TRUE(images.open(2).done);
    show.materials.at(1, 1) = stepping(4);
    ASSERT_TRUE(file.saveShow(fake));
    ASSERT_EQ(file.loadShow(fake), LoadResult::Loaded);
    // The image's bank record claims more Materials than it holds.
    QByteArray bytes = readWholeFile(paths.showFile).value();
    const QByteArray image = images.image(2);
    const qsizetype at = bytes.indexOf(image);
    ASSERT_GT(at, 0);
    bytes[at + 4] = static_cast<char>(200);
    ASSERT_TRUE(writeWholeFile(paths.showFile, bytes));
    fake.messages.clear();
    EXPECT_EQ(file.loadShow(fake), LoadResult::Damaged);
    EXPECT_EQ(images.image(2), image);
}

TEST_F(ShowSavingTest, EditsAfterASaveReachTheNextSaveWhateverTheyTouch) {
    // Effect 3 open with a Material, Effect 5 with Beats selected, both saved once and then once
    // more unchanged: the second save writes exactly the first one's show.
    patchFixtureOne(1);
    ASSERT_TRUE(images.open(3).done);
    show.materials.at(1, 1) = stepping(4);
    Effect& fx = show.effects.at(5);
    setBarCount(fx, kNoBassPart, 2);
    setBeatsPerBar(fx, kNoBassPart, 4);
    setBeatSelection(fx, kNoBassPart, 1, 1, 1, 1, 1);
    ASSERT_TRUE(file.saveShow(fake));
    const QByteArray first = file.writtenDigest();
    ASSERT_TRUE(file.saveShow(fake));
    EXPECT_EQ(file.writtenDigest(), first);

    // A Beat, a remark, a value of the open bank and the fixture under it change; each is in the
    // next save, and a load gives them back.
    setBeatSelection(fx, kNoBassPart, 2, 4, 1, 1, 1);
    show.effects.at(1).remark = QStringLiteral("新的");
    show.materials.at(1, 1).setValue(2, 1, 1, 99);
    ASSERT_TRUE(file.saveShow(fake));
    EXPECT_NE(file.writtenDigest(), first);
    const Show edited = show;
    patchFixtureOne(30);
    ASSERT_TRUE(file.saveShow(fake));
    const QByteArray moved = images.image(3);

    ASSERT_EQ(file.loadShow(fake), LoadResult::Loaded);
    EXPECT_TRUE(beatSelected(show.effects.at(5), kNoBassPart, 2, 4, 1, 1));
    EXPECT_TRUE(beatSelected(show.effects.at(5), kNoBassPart, 1, 1, 1, 1));
    EXPECT_EQ(show.effects.at(5), edited.effects.at(5));
    EXPECT_EQ(show.effects.at(1).remark, QStringLiteral("新的"));
    EXPECT_EQ(show.library.at(0, 1).startAddress, 30);
    EXPECT_EQ(images.image(3), moved);
    MaterialBank back;
    ASSERT_EQ(parseEffectImage(images.image(3), back), ParseResult::Ok);
    EXPECT_EQ(back.at(1, 1).value(2, 1, 1), 99);
    EXPECT_EQ(back.at(1, 1).value(1, 1, 1), 11);
    EXPECT_TRUE(fake.messages.isEmpty());
}

}  // namespace
}  // namespace kx
