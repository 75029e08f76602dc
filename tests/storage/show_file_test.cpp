#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <atomic>
#include <memory>
#include <thread>

#include "base/file_io.h"
#include "base/settings.h"
#include "storage/record_io.h"
#include "storage/show_file.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

// A stand-in domain: two numbers kept in sections 1 and 13, each a 2-byte body.
struct Model {
    int room = 0;
    int limit = 50;
    bool operator==(const Model&) const = default;
};

SectionRoutine numberSection(int number, const QString& tag, int& value, int fallback) {
    return {number, tag,
            [&value, number, tag](RecordBuffer& b, int& c, SectionScratch) {
                Fun_BeginSection(number, tag, c, b);
                Fun_Put2(value, c, b);
            },
            [&value, number, tag, fallback](RecordBuffer& b, int& c, SectionScratch, QStringList&) {
                value = fallback;
                if (!Fun_FindSection(number, tag, c, b)) return true;
                // A body that runs past the bytes is damage.
                if (!b.require(c, 2)) return false;
                value = Fun_Get2(c, b);
                return true;
            }};
}

SectionRoutines sectionsOf(Model& m) {
    return {numberSection(1, "F1042301", m.room, 0), numberSection(13, "F1052601", m.limit, 50)};
}

// The binding's own steps are recorded in calls.
ShowBinding bindingOf(Model& live, QStringList& calls) {
    return {[&live] { return sectionsOf(live); },
            [&live] {
                auto staged = std::make_shared<Model>(live);
                return StagedShow{sectionsOf(*staged), [&live, staged] {
                                      live = *staged;
                                      return QStringList{};
                                  }};
            },
            [&calls] { calls << "no show file"; },
            [&calls] {
                calls << "groups";
                return QString();
            }};
}

class ShowFileTest : public test::FakePlatformTest {
  protected:
    AppPaths paths = AppPaths::under(fake.programDir());
    Model live;
    QStringList calls;
    ShowFile file{paths, bindingOf(live, calls), {fake, fake}, events()};

    ShowFileEvents events() {
        ShowFileEvents e;
        e.showReplaced = [this] { calls << "replaced"; };
        e.operationRunning = [this](bool on) { calls << (on ? "running" : "ended"); };
        return e;
    }
    QByteArray showBytes() { return readWholeFile(paths.showFile).value_or(QByteArray()); }

    // Where a file that could not be read is kept, and the one message that says so.
    const QString keptName = "S7420--[260307-090504] 无法读取.K74";
    QString keptPath() const { return paths.backupDir + "/" + keptName; }
    QStringList refusedAndKept() const {
        return {kMsgShowFormat + "\n原文件已备份到 灯光备份\\" + keptName};
    }
    QByteArray kept() const { return readWholeFile(keptPath()).value_or(QByteArray()); }
};

TEST_F(ShowFileTest, SavedShowIsHeaderDirectoryAndSectionsInOrder) {
    live = {0x1234, 0x0A};
    ASSERT_TRUE(file.saveShow(fake));
    const QByteArray bytes = showBytes();
    const QString stamp = showStampText(fake.time, paths.programDir);

    QByteArray expected = QByteArray::fromHex("F10410A1");      // file tag
    QByteArray directory(200, '\0');                            // entries 1-50
    directory.replace(0, 4, QByteArray::fromHex("000000D0"));   // entry 1 -> 208
    directory.replace(48, 4, QByteArray::fromHex("000000DA"));  // entry 13 -> 218
    directory.replace(52, 4, QByteArray::fromHex("000000E4"));  // entry 14 -> 228
    expected += directory;
    expected += QByteArray::fromHex(
        "EEEEEEEE"
        "F1042301"
        "1234");  // section 1 at 204
    expected += QByteArray::fromHex(
        "EEEEEEEE"
        "F1052601"
        "000A");  // section 13 at 214
    expected += QByteArray::fromHex(
        "EEEEEEEE"
        "F2012210");                                                   // section 14 at 224
    expected += QByteArray(20, '\0');                                  // stamp: 20 zeros
    expected += QByteArray::fromHex("00011A") + QByteArray(27, '\0');  // positions: text at 282
    RecordBuffer text(600);
    int c = 0;
    Fun_PutStr(stamp, 250, c, text);
    expected += text.bytes(c);
    EXPECT_EQ(bytes.toHex(), expected.toHex());
}

TEST_F(ShowFileTest, StampNamesDateTimeFolderAndSignature) {
    const QString stamp = showStampText(fake.time, "/x/y");
    const QString folder = QDir::toNativeSeparators("/x/y");
    ASSERT_TRUE(stamp.startsWith("2026/3/7 9:05:04 " + folder));
    const QString signature = stamp.mid(QString("2026/3/7 9:05:04 " + folder).size());
    EXPECT_EQ(signature.size(), 40);
    EXPECT_EQ(signature, signature.toUpper());
    bool ok = false;
    signature.left(8).toUInt(&ok, 16);
    EXPECT_TRUE(ok);
    // A long program folder is cut to the field's 250 units; the file stays well-formed.
    const ShowBuild build = buildShowFile({}, QString(300, 'd'));
    ASSERT_TRUE(build.bytes);
    EXPECT_EQ(build.bytes->size(), 204 + 8 + 50 + 1 + 500);
}

TEST_F(ShowFileTest, SectionOrderIsFixed) {
    int v = 0;
    EXPECT_TRUE(sectionOrderValid({}));
    EXPECT_TRUE(
        sectionOrderValid({numberSection(2, "F1041101", v, 0), numberSection(10, "F1040401", v, 0),
                           numberSection(13, "F1052601", v, 0)}));
    EXPECT_FALSE(sectionOrderValid(
        {numberSection(10, "F1040401", v, 0), numberSection(2, "F1041101", v, 0)}));
    EXPECT_FALSE(sectionOrderValid({numberSection(14, "F2012210", v, 0)}));
    EXPECT_FALSE(sectionOrderValid(
        {numberSection(1, "F1042301", v, 0), numberSection(1, "F1042301", v, 0)}));
}

TEST_F(ShowFileTest, ShowThatDoesNotFitIsRefusedAndTheOldFileStays) {
    live = {7, 8};
    ASSERT_TRUE(file.saveShow(fake));
    const QByteArray before = showBytes();

    QByteArray big(kShowFileCapacity, 'x');
    SectionRoutine huge{
        11,
        "F10417A1",
        [&big](RecordBuffer& b, int& c, SectionScratch) {
            Fun_BeginSection(11, "F10417A1", c, b);
            const auto* p = reinterpret_cast<const std::uint8_t*>(big.constData());
            Fun_PutBytes(kShowFileCapacity - 100, {p, static_cast<std::size_t>(big.size())}, c, b);
        },
        {}};
    const ShowBuild build = buildShowFile({huge}, "stamp");
    EXPECT_FALSE(build.bytes);
    EXPECT_TRUE(build.tooLarge);

    ShowFile tooBig{paths, {[&huge] { return SectionRoutines{huge}; }, {}, {}, {}}, {fake, fake}};
    EXPECT_FALSE(tooBig.saveShow(fake));
    EXPECT_EQ(fake.messages, QStringList{kMsgShowTooLarge});
    EXPECT_EQ(showBytes(), before);
}

TEST_F(ShowFileTest, SaveThatCannotBeWrittenIsReported) {
    EXPECT_FALSE(file.saveShow(fake, paths.programDir + "/no such folder/x.K74"));
    EXPECT_EQ(fake.messages, QStringList{kMsgSaveFailed});
}

TEST_F(ShowFileTest, LoadReplacesTheShowOnlyWhenEverySectionReads) {
    live = {300, 99};
    ASSERT_TRUE(file.saveShow(fake));
    live = {1, 2};
    EXPECT_EQ(file.loadShow(fake), LoadResult::Loaded);
    EXPECT_EQ(live, (Model{300, 99}));
    EXPECT_EQ(calls, QStringList{"replaced"});
    EXPECT_TRUE(fake.messages.isEmpty());

    // Section 13's body cut off: nothing changes, not even the images.
    QByteArray cut = showBytes();
    cut.truncate(218 + 4 + 1);  // one byte of its 2-byte body
    ASSERT_TRUE(writeWholeFile(paths.showFile, cut));
    live = {1, 2};
    calls.clear();
    EXPECT_EQ(file.loadShow(fake), LoadResult::Damaged);
    EXPECT_EQ(live, (Model{1, 2}));
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_EQ(fake.messages, refusedAndKept());
}

TEST_F(ShowFileTest, ForeignOrMissingFilesLeaveTheShow) {
    live = {1, 2};
    EXPECT_EQ(file.loadShow(fake), LoadResult::Missing);
    EXPECT_EQ(fake.messages, QStringList{kMsgShowMissing});
    EXPECT_EQ(calls, QStringList{"no show file"});
    EXPECT_EQ(live, (Model{1, 2}));
    EXPECT_FALSE(QDir(paths.backupDir).exists());  // nothing to keep

    fake.messages.clear();
    calls.clear();
    ASSERT_TRUE(
        writeWholeFile(paths.showFile, QByteArray::fromHex("F10410A2") + QByteArray(300, 0)));
    EXPECT_EQ(file.loadShow(fake), LoadResult::WrongFormat);
    EXPECT_EQ(fake.messages, refusedAndKept());
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_EQ(live, (Model{1, 2}));

    // Three bytes are not even a tag.
    fake.messages.clear();
    ASSERT_TRUE(writeWholeFile(paths.showFile, QByteArray::fromHex("F10410")));
    EXPECT_EQ(file.loadShow(fake), LoadResult::WrongFormat);
    EXPECT_EQ(live, (Model{1, 2}));
}

TEST_F(ShowFileTest, AbsentSectionsKeepTheirDefaultsAndOnesLeadingNowhereAreTold) {
    live = {300, 99};
    ASSERT_TRUE(file.saveShow(fake));
    QByteArray bytes = showBytes();
    bytes.replace(4, 4, QByteArray(4, '\0'));  // entry 1 = 0: the file has no such section
    ASSERT_TRUE(writeWholeFile(paths.showFile, bytes));
    EXPECT_EQ(file.loadShow(fake), LoadResult::Loaded);
    EXPECT_EQ(live, (Model{0, 99}));
    EXPECT_TRUE(fake.messages.isEmpty());
    EXPECT_FALSE(QDir(paths.backupDir).exists());

    bytes.replace(52, 4, QByteArray::fromHex("7FFFFFF0"));  // entry 13 far outside
    ASSERT_TRUE(writeWholeFile(paths.showFile, bytes));
    EXPECT_EQ(file.loadShow(fake), LoadResult::Loaded);
    EXPECT_EQ(live, (Model{0, 50}));
    const QString copy = QStringLiteral("S7420--[260307-090504] 部分无法读取.K74");
    EXPECT_EQ(fake.messages,
              QStringList{"动作阈值数据无法读取，已使用默认值。原文件已备份到 灯光备份\\" + copy});
    EXPECT_EQ(readWholeFile(paths.backupDir + "/" + copy).value(), bytes);

    // The stamp is not read: files differing only there load alike.
    live = {5, 6};
    ASSERT_TRUE(file.saveShow(fake));
    bytes = showBytes();
    bytes[bytes.size() - 1] = 'Z';
    ASSERT_TRUE(writeWholeFile(paths.showFile, bytes));
    live = {};
    EXPECT_EQ(file.loadShow(fake), LoadResult::Loaded);
    EXPECT_EQ(live, (Model{5, 6}));
}

TEST_F(ShowFileTest, AFileThatCannotBeReadIsKeptAsideUntilASaveReplacesIt) {
    // Not an automatic backup: made with automatic backups switched off as well.
    ASSERT_TRUE(Fun_IniWrite(paths.systemIni, "不自动备份", "1"));
    ShowFile quiet{paths, bindingOf(live, calls), {fake, fake}, events()};
    live = {300, 99};
    ASSERT_TRUE(quiet.saveShow(fake));
    QByteArray foreign = showBytes();
    foreign[3] = '\xA2';
    foreign += QByteArray(kShowFileCapacity, 'z');  // more than a load reads: kept whole
    ASSERT_TRUE(writeWholeFile(paths.showFile, foreign));
    live = {1, 2};

    EXPECT_EQ(quiet.loadShow(fake), LoadResult::WrongFormat);
    EXPECT_EQ(fake.messages, refusedAndKept());
    EXPECT_EQ(kept(), foreign);
    EXPECT_EQ(showBytes(), foreign);  // the load wrote nothing
    EXPECT_EQ(live, (Model{1, 2}));

    ASSERT_TRUE(quiet.saveShow(fake));
    EXPECT_NE(showBytes(), foreign);
    EXPECT_EQ(kept(), foreign);
    EXPECT_EQ(QDir(paths.backupDir).entryList(QDir::Files), QStringList{keptName});
}

TEST_F(ShowFileTest, ACopyThatCannotBeKeptIsSaidSo) {
    ASSERT_TRUE(
        writeWholeFile(paths.showFile, QByteArray::fromHex("00112233") + QByteArray(300, 0)));
    ASSERT_TRUE(writeWholeFile(paths.backupDir, "a file where the folder should be"));
    EXPECT_EQ(file.loadShow(fake), LoadResult::WrongFormat);
    EXPECT_EQ(fake.messages, QStringList{"文件格式错误！！！\n原文件无法备份"});
}

TEST_F(ShowFileTest, OpeningAFileThatCannotBeReadKeepsItAsideAndTheShow) {
    const QString other = paths.programDir + "/other.K74";
    live = {77, 88};
    ASSERT_TRUE(file.saveShow(fake, other));
    QByteArray damaged = readWholeFile(other).value();
    damaged.truncate(218 + 4 + 1);  // inside section 13's body
    ASSERT_TRUE(writeWholeFile(other, damaged));
    live = {1, 2};

    fake.dialogAnswers.push_back(other);
    file.openShowFile({fake, fake});
    EXPECT_EQ(live, (Model{1, 2}));
    EXPECT_EQ(fake.messages, refusedAndKept());
    EXPECT_EQ(kept(), damaged);
    EXPECT_EQ(readWholeFile(other).value(), damaged);
    EXPECT_EQ(calls, (QStringList{"running", "groups", "ended"}));
    // The working file still holds the show from before the attempt.
    Model check;
    ShowFile reader{paths, bindingOf(check, calls), {fake, fake}};
    EXPECT_EQ(reader.loadShow(fake), LoadResult::Loaded);
    EXPECT_EQ(check, (Model{1, 2}));
}

TEST_F(ShowFileTest, BackupCopiesUnderTheTimestampUnlessSwitchedOff) {
    ASSERT_TRUE(file.saveShow(fake));
    file.backupShow(fake, "点击保存");
    const QString backup = paths.backupDir + "/S7420--[260307-090504] 点击保存.K74";
    EXPECT_EQ(readWholeFile(backup).value_or(QByteArray()), showBytes());
    EXPECT_EQ(calls, QStringList{"groups"});

    ASSERT_TRUE(Fun_IniWrite(paths.systemIni, "不自动备份", "1"));
    ShowFile off{paths, bindingOf(live, calls), {fake, fake}, events()};
    EXPECT_TRUE(off.noAutomaticBackup());
    calls.clear();
    off.backupShow(fake, "关闭程序");
    EXPECT_EQ(calls, QStringList{"groups"});  // the groups file is still saved
    EXPECT_EQ(QDir(paths.backupDir).entryList(QDir::Files).size(), 1);
}

TEST_F(ShowFileTest, SaveNowSavesAndBacksUp) {
    live = {4, 4};
    EXPECT_TRUE(file.saveNow(fake));
    EXPECT_TRUE(QFile::exists(paths.backupDir + "/S7420--[260307-090504] 点击保存.K74"));
}

TEST_F(ShowFileTest, OpenImportsTheChosenFileAndKeepsTheDefaultPath) {
    const QString other = paths.programDir + "/other.K74";
    live = {77, 88};
    ASSERT_TRUE(file.saveShow(fake, other));
    live = {1, 2};

    file.openShowFile({fake, fake});  // cancelled
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_FALSE(QFile::exists(paths.showFile));

    fake.dialogAnswers.push_back(other);
    file.openShowFile({fake, fake});
    EXPECT_EQ(fake.dialogs.back().title, "打开文件");
    EXPECT_EQ(live, (Model{77, 88}));
    EXPECT_EQ(calls, (QStringList{"running", "groups", "replaced", "ended"}));
    // The show before the import was saved and backed up.
    EXPECT_TRUE(QFile::exists(paths.backupDir + "/S7420--[260307-090504] 打开文件前.K74"));
    file.saveShow(fake);
    Model check;
    ShowFile reader{paths, bindingOf(check, calls), {fake, fake}};
    reader.loadShow(fake);
    EXPECT_EQ(check, (Model{77, 88}));
}

TEST_F(ShowFileTest, OpenDoesNotDropAShowThatCouldNotBeSaved) {
    const QString other = paths.programDir + "/other.K74";
    live = {77, 88};
    ASSERT_TRUE(file.saveShow(fake, other));
    live = {1, 2};
    QDir().mkpath(paths.showFile);  // a folder where the file should be: the save fails
    fake.dialogAnswers.push_back(other);
    file.openShowFile({fake, fake});
    EXPECT_EQ(live, (Model{1, 2}));
    EXPECT_EQ(fake.messages, QStringList{kMsgSaveFailed});
    EXPECT_EQ(calls, (QStringList{"running", "ended"}));
}

TEST_F(ShowFileTest, SaveAsCopiesTheSavedShow) {
    live = {3, 9};
    file.saveShowAs({fake, fake});  // cancelled
    EXPECT_FALSE(QFile::exists(paths.showFile));

    const QString copy = paths.programDir + "/copy.K74";
    ASSERT_TRUE(writeWholeFile(copy, QByteArray(5000, 'o')));
    fake.dialogAnswers.push_back(copy);
    file.saveShowAs({fake, fake});
    EXPECT_EQ(fake.dialogs.back().title, "保存文件");
    EXPECT_TRUE(fake.dialogs.back().save);
    EXPECT_EQ(readWholeFile(copy).value_or(QByteArray()), showBytes());
    EXPECT_TRUE(QFile::exists(paths.backupDir + "/S7420--[260307-090504] 另存文件.K74"));
}

TEST_F(ShowFileTest, NewShowLoadsTheBlankTemplate) {
    file.createBlankTemplate(fake);  // from the pristine model
    const QByteArray blank = readWholeFile(paths.blankTemplate).value_or(QByteArray());
    ASSERT_FALSE(blank.isEmpty());
    live = {11, 12};
    file.createBlankTemplate(fake);  // present: left alone
    EXPECT_EQ(readWholeFile(paths.blankTemplate).value_or(QByteArray()), blank);

    file.newShow(fake);  // answered No
    EXPECT_EQ(fake.questions, QStringList{kMsgAskNewShow});
    EXPECT_EQ(live, (Model{11, 12}));

    fake.yesNoAnswers.push_back(true);
    file.newShow(fake);
    EXPECT_EQ(live, Model{});
    EXPECT_EQ(fake.messages, QStringList{kMsgDone});
    EXPECT_TRUE(QFile::exists(paths.backupDir + "/S7420--[260307-090504] 建立空白文件前.K74"));
    // The working file keeps the old show until the next save.
    Model check;
    ShowFile reader{paths, bindingOf(check, calls), {fake, fake}};
    reader.loadShow(fake);
    EXPECT_EQ(check, (Model{11, 12}));

    // Without a template every section falls back to its defaults just the same.
    QFile::remove(paths.blankTemplate);
    live = {11, 12};
    fake.yesNoAnswers.push_back(true);
    file.newShow(fake);
    EXPECT_EQ(live, Model{});
}

// Built from a copy beside the wait: an edit that reaches the live show while the save runs is
// not in the file, and what the writers settled is handed back once the file is written.
TEST_F(ShowFileTest, ASaveWritesTheShowAsItWasWhenAskedWhileEventsGoOn) {
    std::atomic<bool> pumped = false;
    ShowBinding binding = bindingOf(live, calls);
    binding.snapshot = [this, &pumped] {
        auto copy = std::make_shared<Model>(live);
        SectionRoutines sections = sectionsOf(*copy);
        // The writer holds on until the first event, so the edit comes in the middle of the save.
        auto write = sections[0].write;
        sections[0].write = [write, &pumped](RecordBuffer& b, int& c, SectionScratch scratch) {
            while (!pumped)
                std::this_thread::yield();
            write(b, c, scratch);
        };
        return StagedShow{sections, [this, copy] {
                              calls << "settled";
                              live.limit = copy->limit + 1;
                              return QStringList{};
                          }};
    };
    ShowFile threaded{paths, binding, {fake, fake}, events()};
    live = {0x0101, 0x22};
    fake.onEvents = [this, &pumped] {
        live.room = 0x0202;
        pumped = true;
    };
    ASSERT_TRUE(threaded.saveShow(fake));
    fake.onEvents = {};
    EXPECT_EQ(calls, QStringList{"settled"});
    EXPECT_EQ(live, (Model{0x0202, 0x23}));
    const QByteArray bytes = showBytes();
    EXPECT_EQ(bytes.mid(212, 2), QByteArray::fromHex("0101"));
    EXPECT_EQ(bytes.mid(222, 2), QByteArray::fromHex("0022"));
    EXPECT_EQ(threaded.writtenDigest(), showContentDigest(bytes));

    // A show that does not fit is refused all the same and the file stays.
    calls.clear();
    binding.snapshot = [] {
        SectionRoutine huge{1,
                            "F1042301",
                            [](RecordBuffer&, int& c, SectionScratch) { c += kShowFileCapacity; },
                            {}};
        return StagedShow{{huge}, {}};
    };
    ShowFile tooLarge{paths, binding, {fake, fake}, events()};
    EXPECT_EQ(tooLarge.writeShow(), kMsgShowTooLarge);
    EXPECT_EQ(showBytes(), bytes);
}

TEST_F(ShowFileTest, TheContentDigestPassesOverTheStampAlone) {
    live = {0x1234, 0x0A};
    ASSERT_TRUE(file.saveShow(fake));
    const QByteArray first = showBytes();
    const QByteArray digest = file.writtenDigest();
    EXPECT_EQ(digest.size(), 16);
    EXPECT_EQ(showContentDigest(first), digest);
    fake.time = fake.time.addSecs(3600);
    ASSERT_TRUE(file.saveShow(fake));
    EXPECT_NE(showBytes(), first);
    EXPECT_EQ(file.writtenDigest(), digest);
    live.limit = 0x0B;
    ASSERT_TRUE(file.saveShow(fake));
    EXPECT_NE(file.writtenDigest(), digest);

    // Bytes in the stamp count for nothing; with entry 14 leading outside there is no stamp and
    // every byte counts.
    QByteArray stampChanged = first;
    stampChanged[stampChanged.size() - 1] = 'x';
    EXPECT_EQ(showContentDigest(stampChanged), digest);
    QByteArray noStamp = first;
    noStamp.replace(56, 4, QByteArray::fromHex("00FFFFFF"));
    QByteArray noStampChanged = noStamp;
    noStampChanged[noStampChanged.size() - 1] = 'x';
    EXPECT_NE(showContentDigest(noStamp), showContentDigest(noStampChanged));
}

}  // namespace
}  // namespace kx
