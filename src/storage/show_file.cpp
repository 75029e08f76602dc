#include "storage/show_file.h"

#include <QDir>
#include <QFile>
#include <QHashFunctions>
#include <future>

#include "base/common.h"
#include "base/file_io.h"
#include "base/settings.h"
#include "storage/record_io.h"
#include "storage/waiting_write.h"

namespace kx {

namespace {

constexpr int kStampZeros = 20;
constexpr int kStampPositions = 10;
constexpr int kStampTextMax = 250;
inline const QString kShowExt = QStringLiteral("K74");
inline const QString kReasonUnreadable = QStringLiteral("无法读取");
inline const QString kReasonPartlyUnreadable = QStringLiteral("部分无法读取");
constexpr std::uint32_t kSectionMark = 0xEEEEEEEE;
constexpr std::array<std::size_t, 2> kDigestSeeds{0x4B583734, 0x32305348};
inline constexpr int kBackupPauseMs = 10;
inline constexpr int kSettleMs = 200;

// The signature that closes every stamp, kept as twenty pieces so it is put together at run time.
constexpr std::array<int, 20> kSignature{0x4B, 0x58, 0x37, 0x34, 0x32, 0x30, 0x53,
                                         0x48, 0x4F, 0x57, 0x46, 0x49, 0x4C, 0x45,
                                         0x0E, 0x02, 0x20, 0x14, 0x05, 0xA1};

QString signature() {
    QString s;
    for (int piece : kSignature)
        s += QString::number(piece, 16).toUpper().rightJustified(2, '0');
    return s;
}

void writeStamp(const QString& stamp, RecordBuffer& buf, int& cursor, SectionScratch scratch) {
    Fun_BeginSection(kSectionStamp, kStampTag, cursor, buf);
    std::fill(scratch.begin(), scratch.end(), std::uint8_t{0});
    Fun_PutBytes(kStampZeros, scratch, cursor, buf);
    const int tablePosition = cursor;
    cursor += 3 * kStampPositions;
    std::array<int, kStampPositions> positions{};
    positions[0] = cursor;
    Fun_PutStr(stamp, kStampTextMax, cursor, buf);
    Fun_PutInt24Table(tablePosition, positions, buf);
}

}  // namespace

bool sectionOrderValid(const SectionRoutines& sections) {
    static constexpr std::array<int, 6> kOrder{kSectionRoomControl, kSectionScenes,
                                               kSectionFixtures,    kSectionMaterials,
                                               kSectionEffects,     kSectionThresholds};
    std::size_t next = 0;
    for (const SectionRoutine& s : sections) {
        while (next < kOrder.size() && kOrder[next] != s.number)
            ++next;
        if (next == kOrder.size()) return false;
        ++next;
    }
    return true;
}

QString showStampText(const QDateTime& now, const QString& programDir) {
    return now.toString(QStringLiteral("yyyy/M/d H:mm:ss")) + " " +
           QDir::toNativeSeparators(programDir) + signature();
}

namespace {

// The whole file built into buf: false when it does not fit or a writer failed the buffer, with
// tooLarge telling the first from the second. end is the position after the last byte.
bool buildInto(RecordBuffer& buf, const SectionRoutines& sections, const QString& stamp, int& end,
               bool& tooLarge) {
    std::vector<std::uint8_t> scratch(kShowScratchSize, 0);
    int cursor = 0;
    Fun_PutTag(kShowFileTag, cursor, buf);
    for (int i = 0; i < kShowDirectoryEntries; ++i)
        Fun_PutTag(QStringLiteral("00000000"), cursor, buf);
    for (const SectionRoutine& s : sections)
        s.write(buf, cursor, scratch);
    writeStamp(stamp, buf, cursor, scratch);
    end = cursor;
    tooLarge = cursor > buf.capacity();
    return buf.ok() && !tooLarge;
}

struct ShowWrite {
    QString failure;  // "" when written
    QByteArray digest;
};

// Built once into one buffer, which is written as it stands with one write and sync.
ShowWrite buildAndWrite(const SectionRoutines& sections, const QString& stamp,
                        const QString& target) {
    RecordBuffer buf(kShowFileCapacity);
    int end = 0;
    bool tooLarge = false;
    if (!buildInto(buf, sections, stamp, end, tooLarge))
        return {tooLarge ? kMsgShowTooLarge : kMsgSaveFailed, {}};
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(buf.view().data()), end);
    // Hashed on another core while the disk takes the bytes.
    auto digest = std::async(std::launch::async, [&bytes] { return showContentDigest(bytes); });
    const bool written = writeWholeFile(target, bytes);
    QByteArray hashed = digest.get();
    if (!written) return {kMsgSaveFailed, {}};
    return {{}, std::move(hashed)};
}

}  // namespace

ShowBuild buildShowFile(const SectionRoutines& sections, const QString& stamp) {
    RecordBuffer buf(kShowFileCapacity);
    int end = 0;
    ShowBuild result;
    if (buildInto(buf, sections, stamp, end, result.tooLarge)) result.bytes = buf.bytes(end);
    return result;
}

QByteArray showContentDigest(const QByteArray& bytes) {
    // The stamp's tag sits behind its EE EE EE EE; a file without a stamp is hashed whole.
    qsizetype end = bytes.size();
    if (bytes.size() >= kShowHeaderSize) {
        RecordBuffer header = RecordBuffer::fromBytes(bytes.first(kShowHeaderSize));
        const int stampAt = Fun_GetAt4(4 * kSectionStamp, header);
        if (stampAt >= kShowHeaderSize + 4 && stampAt <= bytes.size()) end = stampAt - 4;
    }
    // Two seeded hashes of the running machine's fastest kind: a cryptographic one of the largest
    // show would cost a save several times what the disk does.
    const QByteArrayView content = QByteArrayView(bytes).first(end);
    const std::array<std::size_t, 2> digest{qHash(content, kDigestSeeds[0]),
                                            qHash(content, kDigestSeeds[1])};
    return QByteArray(reinterpret_cast<const char*>(digest.data()), sizeof digest);
}

ParseResult parseShowFile(const QByteArray& bytes, const SectionRoutines& sections,
                          QStringList& notes) {
    // Only the file's own bytes are readable: a position past its end is damage, not zeros.
    RecordBuffer buf = RecordBuffer::fromBytes(bytes.left(kShowFileCapacity));
    int cursor = 0;
    if (buf.capacity() < 4 || Fun_GetTag(cursor, buf) != kShowFileTag) return ParseResult::WrongTag;
    std::vector<std::uint8_t> scratch(kShowScratchSize, 0);
    for (const SectionRoutine& s : sections) {
        cursor = 0;
        if (!s.read(buf, cursor, scratch, notes) || !buf.ok()) return ParseResult::Damaged;
    }
    return ParseResult::Ok;
}

std::vector<int> unreachableSections(const QByteArray& bytes, const SectionRoutines& sections) {
    // Read straight from the bytes: a few 4-byte values, no working copy of the whole file.
    const qsizetype size = std::min<qsizetype>(bytes.size(), kShowFileCapacity);
    const auto at4 = [&bytes](qsizetype position) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.constData()) + position;
        return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
               (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
    };
    std::vector<int> unreachable;
    for (const SectionRoutine& s : sections) {
        const int entry = 4 * s.number;
        if (entry + 4 > size) continue;  // a header this short is refused as a whole
        const std::uint32_t position = at4(entry);
        if (position == 0) continue;
        const bool framed =
            position >= 4 && position <= size - 4 && at4(position - 4) == kSectionMark &&
            QString::number(at4(position), 16).toUpper().rightJustified(8, '0') == s.tag;
        if (!framed) unreachable.push_back(s.number);
    }
    return unreachable;
}

QString sectionName(int number) {
    switch (number) {
        case kSectionRoomControl:
            return QStringLiteral("灯控");
        case kSectionScenes:
            return QStringLiteral("场景");
        case kSectionFixtures:
            return QStringLiteral("灯库");
        case kSectionMaterials:
            return QStringLiteral("素材");
        case kSectionEffects:
            return QStringLiteral("效果");
        case kSectionThresholds:
            return QStringLiteral("动作阈值");
        default:
            return QString::number(number);
    }
}

ShowFile::ShowFile(AppPaths paths, ShowBinding binding, Waiter waiter, ShowFileEvents events)
    : m_paths(std::move(paths)),
      m_binding(std::move(binding)),
      m_waiter(waiter),
      m_events(std::move(events)),
      m_noAutomaticBackup(iniReadInt(m_paths.systemIni, QStringLiteral("不自动备份")) == 1) {}

bool ShowFile::saveShow(Prompter& prompter, const QString& path) {
    const QString failure = writeShow(path);
    if (failure.isEmpty()) return true;
    prompter.message(failure);
    return false;
}

QString ShowFile::writeShow(const QString& path) {
    const QString target = path.isEmpty() ? m_paths.showFile : path;
    const QString stamp = showStampText(m_waiter.clock.localTime(), m_paths.programDir);
    ShowWrite result;
    if (m_binding.snapshot) {
        // The copy is the show as it was when the save was asked for; while it is built and
        // written the output tick and painting go on (the user's input waits).
        const StagedShow copy = m_binding.snapshot();
        result = runWaiting(m_waiter, [&copy, &stamp, &target] {
            return buildAndWrite(copy.sections, stamp, target);
        });
        if (copy.commit) copy.commit();
    } else {
        const ShowBuild build = buildShowFile(m_binding.sections(), stamp);
        if (!build.bytes) return build.tooLarge ? kMsgShowTooLarge : kMsgSaveFailed;
        if (!writeWholeFileWaiting(m_waiter, target, *build.bytes)) return kMsgSaveFailed;
        result.digest = showContentDigest(*build.bytes);
    }
    if (!result.failure.isEmpty()) return result.failure;
    if (target == m_paths.showFile) {
        m_writtenDigest = result.digest;
        if (m_events.written) m_events.written();
    }
    return {};
}

LoadResult ShowFile::loadShow(Prompter& prompter, const QString& path) {
    const QString source = path.isEmpty() ? m_paths.showFile : path;
    const auto bytes = readWholeFile(source);
    if (!bytes || bytes->isEmpty()) {
        prompter.message(kMsgShowMissing);
        if (m_binding.noShowFile) m_binding.noShowFile();
        return LoadResult::Missing;
    }
    return loadBytes(prompter, *bytes, KeepAside::Yes);
}

LoadResult ShowFile::loadBytes(Prompter& prompter, const QByteArray& bytes, KeepAside keepAside) {
    return loadParsed(prompter, bytes, keepAside, [&] {
        return keepAside == KeepAside::Yes
                   ? kMsgShowFormat + "\n" + this->keepAside(bytes, kReasonUnreadable)
                   : kMsgShowFormat;
    });
}

LoadResult ShowFile::loadCopy(Prompter& prompter, const QByteArray& bytes, const QString& refusal) {
    return loadParsed(prompter, bytes, KeepAside::No, [&refusal] { return refusal; });
}

LoadResult ShowFile::loadParsed(Prompter& prompter, const QByteArray& bytes, KeepAside keep,
                                const std::function<QString()>& refusal) {
    StagedShow staged = m_binding.stage();
    QStringList notes;
    const ParseResult parse = parseShowFile(bytes, staged.sections, notes);
    if (parse != ParseResult::Ok) {
        prompter.message(refusal());
        return parse == ParseResult::WrongTag ? LoadResult::WrongFormat : LoadResult::Damaged;
    }
    // The copy is made before anything is replaced: the next save writes over the file.
    const std::vector<int> unreachable = unreachableSections(bytes, staged.sections);
    if (!unreachable.empty()) {
        QStringList names;
        for (int number : unreachable)
            names << sectionName(number);
        QString text = kMsgSectionsDefaulted.arg(names.join(QStringLiteral("、")));
        if (keep == KeepAside::Yes) text += keepAside(bytes, kReasonPartlyUnreadable);
        notes.prepend(text);
    }
    notes += staged.commit();
    if (m_events.showReplaced) m_events.showReplaced();
    // The same trouble in two sections is one thing to hear about.
    notes.removeDuplicates();
    for (const QString& note : notes)
        prompter.message(note);
    return LoadResult::Loaded;
}

QString ShowFile::backupName(const QString& reason) {
    return "S7420--" + Fun_Timestamp(m_waiter.clock) + " " + reason + ".K74";
}

// Made even when "不自动备份" is 1: it is not a routine backup but maybe the only copy of the
// user's show. Returns the line that tells the user where it went.
QString ShowFile::keepAside(const QByteArray& bytes, const QString& reason) {
    const QString name = backupName(reason);
    QDir().mkpath(m_paths.backupDir);
    if (!writeWholeFile(m_paths.backupDir + "/" + name, bytes)) return kMsgNotKeptAside;
    return kMsgKeptAside + name;
}

void ShowFile::backupShow(Prompter& prompter, const QString& reason) {
    if (m_binding.saveCompanions) {
        const QString failure = m_binding.saveCompanions();
        if (!failure.isEmpty()) prompter.message(failure);
    }
    if (m_noAutomaticBackup) return;
    QDir().mkpath(m_paths.backupDir);
    Fun_Wait(m_waiter, kBackupPauseMs);
    const auto bytes = readWholeFile(m_paths.showFile);
    if (!bytes) return;
    writeWholeFileWaiting(m_waiter, m_paths.backupDir + "/" + backupName(reason), *bytes);
}

bool ShowFile::saveNow(Prompter& prompter) {
    const bool saved = saveShow(prompter);
    backupShow(prompter, QStringLiteral("点击保存"));
    return saved;
}

bool ShowFile::copyShowFile(Prompter& prompter, const QString& to) {
    const auto bytes = readWholeFile(m_paths.showFile);
    if (bytes && writeWholeFile(to, *bytes)) return true;
    prompter.message(kMsgSaveFailed);
    return false;
}

void ShowFile::settle() {
    m_waiter.pump.processEvents();
    Fun_Wait(m_waiter, kSettleMs);
}

void ShowFile::openShowFile(const FileDialogs& dialogs) {
    const QString path = Fun_OpenDialogTitled(dialogs, QStringLiteral("打开文件"), kShowExt);
    if (path.isEmpty()) return;
    if (m_events.operationRunning) m_events.operationRunning(true);
    // A show that could not be saved is not replaced: the import would lose it.
    if (saveShow(dialogs.prompter)) {
        backupShow(dialogs.prompter, QStringLiteral("打开文件前"));
        settle();
        loadShow(dialogs.prompter, path);
    }
    if (m_events.operationRunning) m_events.operationRunning(false);
}

void ShowFile::saveShowAs(const FileDialogs& dialogs) {
    const QString path = Fun_SaveDialogTitled(dialogs, QStringLiteral("保存文件"), kShowExt);
    if (path.isEmpty()) return;
    if (!saveShow(dialogs.prompter)) return;
    backupShow(dialogs.prompter, QStringLiteral("另存文件"));
    settle();
    copyShowFile(dialogs.prompter, path);
}

void ShowFile::newShow(Prompter& prompter) {
    if (!prompter.askYesNo(kMsgAskNewShow)) return;
    if (m_events.operationRunning) m_events.operationRunning(true);
    if (saveShow(prompter)) {
        backupShow(prompter, QStringLiteral("建立空白文件前"));
        settle();
        // Without a template a header-only file gives the same defaults: every reader resets.
        const auto bytes = readWholeFile(m_paths.blankTemplate);
        // The template is the program's own file: a damaged one loses nothing of the user's.
        const LoadResult result =
            bytes && !bytes->isEmpty()
                ? loadBytes(prompter, *bytes, KeepAside::No)
                : loadBytes(prompter, buildShowFile({}, {}).bytes.value(), KeepAside::No);
        if (result == LoadResult::Loaded) prompter.message(kMsgDone);
    }
    if (m_events.operationRunning) m_events.operationRunning(false);
}

void ShowFile::createBlankTemplate(Prompter& prompter) {
    if (Fun_FileSize(m_paths.blankTemplate) > 0) return;
    QDir().mkpath(m_paths.scTemp);
    saveShow(prompter, m_paths.blankTemplate);
}

}  // namespace kx
