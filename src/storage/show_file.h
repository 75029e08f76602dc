#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "base/dialogs.h"
#include "base/paths.h"
#include "base/prompter.h"
#include "base/waiter.h"
#include "storage/record_buffer.h"

namespace kx {

// The Show File: tag "F10410A1", a 50-entry section directory (positions 4-203) and the sections
// 1, 2, 10, 11, 12, 13 in this order, closed by the save stamp 14. The container knows nothing of
// what the sections hold: each domain subsystem supplies a routine pair for its section.

inline constexpr int kShowFileCapacity = 4'194'305;
inline constexpr int kShowScratchSize = 50'001;
inline constexpr int kShowHeaderSize = 204;
inline constexpr int kShowDirectoryEntries = 50;
inline const QString kShowFileTag = QStringLiteral("F10410A1");

inline constexpr int kSectionRoomControl = 1;
inline constexpr int kSectionScenes = 2;
inline constexpr int kSectionFixtures = 10;
inline constexpr int kSectionMaterials = 11;
inline constexpr int kSectionEffects = 12;
inline constexpr int kSectionThresholds = 13;
inline constexpr int kSectionStamp = 14;
inline const QString kStampTag = QStringLiteral("F2012210");

// Scratch bytes handed to every section routine for temporary byte runs.
using SectionScratch = std::span<std::uint8_t>;

// A domain section. The writer opens its frame with Fun_BeginSection(number, tag) at the cursor,
// writes its body and leaves the cursor after its last byte. The reader resets its data to
// defaults, then Fun_FindSection(number, tag) and parses the body only when found; it must not
// rely on where the previous section ended. It returns false only when the file is damaged
// (a position, count or length pointing outside); a missing section is not damage.
// Readers fill the staging copy they are bound to and touch nothing else: what the user should
// hear about a section that still loads ("版本不对") goes into notes, and the loader decides
// whether to show it once the whole file is read.
struct SectionRoutine {
    int number = 0;
    QString tag;
    std::function<void(RecordBuffer&, int& cursor, SectionScratch scratch)> write;
    std::function<bool(RecordBuffer&, int& cursor, SectionScratch scratch, QStringList& notes)>
        read;
};
using SectionRoutines = std::vector<SectionRoutine>;

// True when the numbers are distinct, one of 1, 2, 10, 11, 12, 13, and in that order.
bool sectionOrderValid(const SectionRoutines& sections);

// A load parses into a staging copy of the show; only when every reader succeeded does commit
// replace the live show with it. Commit hands back the texts of what went wrong on the way (a
// working file it could not write) for the loader to show.
struct StagedShow {
    SectionRoutines sections;
    std::function<QStringList()> commit;
};

// How the container reaches the show it saves and loads.
struct ShowBinding {
    std::function<SectionRoutines()> sections;  // bound to the live show (saving)
    std::function<StagedShow()> stage;          // bound to a fresh staging copy (loading)
    // There is no Show File to load: what the show does instead (its working files, defaults).
    std::function<void()> noShowFile;
    // The show's companion files, saved before every backup (the fixture groups): "" when saved
    // or unchanged, else the text of the failure.
    std::function<QString()> saveCompanions;
    // Bound to a copy of the live show taken now: a save builds from it on a thread of its own
    // while the interface goes on. Commit hands back to the live show what the writers settle on
    // the way (what the live show's own writers would have changed). Without it a save builds
    // from sections on the calling thread.
    std::function<StagedShow()> snapshot = {};
};

// The stamp text of section 14: date, time, program directory and the fixed signature.
QString showStampText(const QDateTime& now, const QString& programDir);

// The whole file: header, the given sections in order, then the stamp. No bytes when the show
// does not fit the 4,194,305-byte buffer (tooLarge) or a writer failed the buffer otherwise.
struct ShowBuild {
    std::optional<QByteArray> bytes;
    bool tooLarge = false;
};
ShowBuild buildShowFile(const SectionRoutines& sections, const QString& stamp);

// A 128-bit digest of what a Show File holds apart from its save stamp (every byte before the
// stamp's frame): equal for the same show saved at different moments. Only compared within one
// run of the program, never stored.
QByteArray showContentDigest(const QByteArray& bytes);

// Checks the file tag and runs every reader on bytes (at most 4,194,305 are used); the readers'
// notes are appended to notes in file order.
ParseResult parseShowFile(const QByteArray& bytes, const SectionRoutines& sections,
                          QStringList& notes);

// The sections whose directory entry is not 0 but leads to no frame of theirs (outside the file,
// or to bytes that are not EE EE EE EE and the section's tag): damage, where a 0 entry is a
// section the file simply does not have. Their readers keep their defaults.
std::vector<int> unreachableSections(const QByteArray& bytes, const SectionRoutines& sections);
// The name the user knows a section by ("场景" for 2, ...).
QString sectionName(int number);

// What the Show File tells the rest of the program, which decides what follows (the caption,
// every editor's refresh, the title bar); each may be left empty.
struct ShowFileEvents {
    // A load replaced the whole show.
    std::function<void()> showReplaced;
    // Opening a file or making a new show runs (true) and has ended (false).
    std::function<void(bool running)> operationRunning;
    // The whole show was written to the Show File at its default path.
    std::function<void()> written;
};

// Messages of the container.
inline const QString kMsgShowMissing =
    QStringLiteral("SHOW 文件不存在！！！ 将建立新的灯光文件！！！");
inline const QString kMsgShowFormat = QStringLiteral("文件格式错误！！！");
// The second line of kMsgShowFormat after a Show File was refused: where its bytes were kept.
inline const QString kMsgKeptAside = QStringLiteral("原文件已备份到 灯光备份\\");
inline const QString kMsgNotKeptAside = QStringLiteral("原文件无法备份");
// A show that loaded, but some of whose sections fell back to their defaults.
inline const QString kMsgSectionsDefaulted = QStringLiteral("%1数据无法读取，已使用默认值。");
inline const QString kMsgSaveFailed = QStringLiteral("SHOW 文件保存失败！！！");
inline const QString kMsgShowTooLarge = QStringLiteral("SHOW 文件超出容量，保存失败！！！");
inline const QString kMsgAskNewShow = QStringLiteral("要删除当前灯光文件并建立空白灯光文件吗？");
inline const QString kMsgDone = QStringLiteral("操作成功！");

enum class LoadResult { Loaded, Missing, WrongFormat, Damaged };

// The one Show File the program works on, at its fixed default path. Its waits and stamps use the
// waiter; the operations that ask or tell the user on their way are given the prompter to do it
// through, so that what is said keeps its place between the steps.
class ShowFile {
  public:
    ShowFile(AppPaths paths, ShowBinding binding, Waiter waiter, ShowFileEvents events = {});

    const QString& defaultPath() const { return m_paths.showFile; }
    const QString& templatePath() const { return m_paths.blankTemplate; }

    // Writes the whole show to path ("" = the default path): "" when written, otherwise the text
    // saying why not. A show that does not fit or a file that cannot be written leaves the
    // previous file intact.
    QString writeShow(const QString& path = {});
    // The same, telling a failure through prompter; false then.
    bool saveShow(Prompter& prompter, const QString& path = {});
    // showContentDigest of the last show written to the default path ("" before the first).
    const QByteArray& writtenDigest() const { return m_writtenDigest; }
    // Replaces the whole show with the file at path ("" = the default path). Anything but Loaded
    // leaves the live show as it was; a file that is there but cannot be read is first copied
    // into the backup folder as "S7420--[YYMMDD-hhmmss] 无法读取.K74", since the next save
    // writes the default path. So is one that loads with some section's directory entry leading
    // nowhere ("... 部分无法读取.K74"), and the user is told which parts took their defaults.
    LoadResult loadShow(Prompter& prompter, const QString& path = {});
    // Replaces the whole show with bytes that are not the Show File (a recovery copy): a refusal
    // is told with refusal and nothing is kept aside, which is the caller's business.
    LoadResult loadCopy(Prompter& prompter, const QByteArray& bytes, const QString& refusal);
    // Saves the groups file when changed (telling a failure), then copies the Show File into the
    // backup folder as "S7420--[YYMMDD-hhmmss] <reason>.K74", unless "不自动备份" is 1. A failed
    // copy is ignored.
    void backupShow(Prompter& prompter, const QString& reason);

    void openShowFile(const FileDialogs& dialogs);  // Command打开文件
    void saveShowAs(const FileDialogs& dialogs);    // Command文件另存为
    void newShow(Prompter& prompter);               // Command建立新文件
    // The save and backup of the title bar's Command立刻保存 (the button's look is its own).
    bool saveNow(Prompter& prompter);

    // "不自动备份" of SYSTEM.INI, read when the file is made.
    bool noAutomaticBackup() const { return m_noAutomaticBackup; }
    void setNoAutomaticBackup(bool on) { m_noAutomaticBackup = on; }

    // Start-up: writes the blank template from the (still default) show when it is missing or
    // empty.
    void createBlankTemplate(Prompter& prompter);

  private:
    AppPaths m_paths;
    ShowBinding m_binding;
    Waiter m_waiter;
    ShowFileEvents m_events;
    bool m_noAutomaticBackup = false;
    QByteArray m_writtenDigest;

    enum class KeepAside { Yes, No };
    LoadResult loadBytes(Prompter& prompter, const QByteArray& bytes, KeepAside keepAside);
    LoadResult loadParsed(Prompter& prompter, const QByteArray& bytes, KeepAside keepAside,
                          const std::function<QString()>& refusal);
    QString keepAside(const QByteArray& bytes, const QString& reason);
    QString backupName(const QString& reason);
    bool copyShowFile(Prompter& prompter, const QString& to);
    // Between the backup of an open, save-as or new and the step that uses the files.
    void settle();
};

}  // namespace kx
