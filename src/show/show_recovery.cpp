#include "show/show_recovery.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/common.h"
#include "base/file_io.h"
#include "storage/record_io.h"

namespace kx {

namespace {

// The program writes every section and the stamp into a recovery file, and writes it atomically:
// one that lacks any of them is not a show the technician made (a file with only the right tag
// would load as an empty show and the next save would carry that over the Show File).
bool holdsEverySection(const QByteArray& bytes) {
    if (bytes.size() < kShowHeaderSize) return false;
    RecordBuffer b = RecordBuffer::fromBytes(bytes);
    for (int section : {kSectionRoomControl, kSectionScenes, kSectionFixtures, kSectionMaterials,
                        kSectionEffects, kSectionThresholds, kSectionStamp}) {
        const std::int64_t at = Fun_GetAt4(4 * section, b);
        if (at < kShowHeaderSize || at >= bytes.size()) return false;
    }
    return true;
}

}  // namespace

ShowRecovery::ShowRecovery(Show& show, EffectImageStore& images, AppPaths paths, Clock& clock)
    : m_show(show), m_images(images), m_paths(std::move(paths)), m_clock(clock) {}

std::optional<QByteArray> ShowRecovery::showBytes(const QString& stamp) const {
    // The writers work on a copy: writing a Fixture clears the functions above its channel
    // count, which the live library keeps until the technician saves.
    Show copy = m_show;
    StagedEffectImages unused;
    return buildShowFile(showSections(copy, m_images, unused), stamp).bytes;
}

QByteArray ShowRecovery::digest() const {
    const auto bytes = showBytes({});
    if (!bytes) return {};
    return QCryptographicHash::hash(*bytes, QCryptographicHash::Sha256);
}

void ShowRecovery::markSaved() {
    m_saved = digest();
    m_kept = m_saved;
}

void ShowRecovery::loaded() {
    if (!m_restoring) markSaved();
}

void ShowRecovery::saved() {
    markSaved();
    removeFile(path());
}

void ShowRecovery::tick() {
    const std::uint32_t now = m_clock.milliseconds();
    if (m_checked && now - m_lastCheck < kRecoveryIntervalMs) return;
    m_checked = true;
    m_lastCheck = now;
    keepIfChanged();
}

bool ShowRecovery::keepIfChanged() {
    const QByteArray now = digest();
    if (now.isEmpty() || now == m_kept) return false;
    if (now == m_saved) {
        // The edits were taken back: the Show File holds the show again.
        removeFile(path());
        m_kept = now;
        return false;
    }
    const auto bytes = showBytes(showStampText(m_clock.localTime(), m_paths.programDir));
    if (!bytes || !writeWholeFile(path(), *bytes)) return false;
    m_kept = now;
    return true;
}

bool ShowRecovery::offerRestore(ShowFile& file, Prompter& prompter) {
    const QFileInfo recovery(path());
    if (!recovery.exists()) return false;
    const QFileInfo showFile(m_paths.showFile);
    if (showFile.exists() && showFile.lastModified() >= recovery.lastModified()) {
        // Saved after it was kept: the Show File is the newer show.
        removeFile(path());
        return false;
    }
    if (!prompter.askYesNo(kAskRecover)) {
        removeFile(path());
        return false;
    }
    const auto bytes = readWholeFile(path());
    m_restoring = true;
    const bool whole = bytes && holdsEverySection(*bytes);
    const LoadResult loaded =
        whole ? file.loadCopy(prompter, *bytes, kMsgRecoveryDamaged) : LoadResult::Damaged;
    m_restoring = false;
    if (loaded != LoadResult::Loaded) {
        if (!whole) prompter.message(kMsgRecoveryDamaged);
        QDir().mkpath(m_paths.backupDir);
        QFile::rename(path(), m_paths.backupDir + "/S7420--" + Fun_Timestamp(m_clock) +
                                  " 恢复文件已损坏.K74");
        return false;
    }
    // The recovery file goes on holding these edits until the next save.
    m_kept = digest();
    return true;
}

void ShowRecovery::discard() {
    removeFile(path());
}

}  // namespace kx
