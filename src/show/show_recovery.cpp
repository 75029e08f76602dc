#include "show/show_recovery.h"

#include <malloc.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <memory>

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

// The images as the recovery reads them: a save rewrites every image it carries, which only the
// program's own saves may do (the recovery runs beside the editors and must not store anything).
class ReadOnlyImages : public EffectImageStore {
  public:
    explicit ReadOnlyImages(const EffectImageStore& images) : m_images(images) {}
    QByteArray image(int effect) const override { return m_images.image(effect); }
    bool setImage(int, const QByteArray&) override { return true; }
    void clear() override {}

  private:
    const EffectImageStore& m_images;
};

// The writers work on a copy: writing a Fixture clears the functions above its channel count,
// which the live library keeps until the technician saves.
std::optional<QByteArray> showBytes(Show copy, const EffectImageStore& images,
                                    const QString& stamp) {
    ReadOnlyImages readOnly(images);
    StagedEffectImages unused;
    return buildShowFile(showSections(copy, readOnly, unused), stamp).bytes;
}

// Beside the loop the whole show is copied, built and hashed in many small blocks that the
// allocator would keep in the thread's heap once freed: they are given back, or the program
// stays megabytes larger after every check.
void releaseFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

QByteArray digestOf(Show show, const EffectImageStore& images) {
    const auto bytes = showBytes(std::move(show), images, {});
    if (!bytes) return {};
    return QCryptographicHash::hash(*bytes, QCryptographicHash::Sha256);
}

struct KeepResult {
    QByteArray kept;  // the digest the recovery file now stands for
    bool written = false;
};

// The check itself, on a copy of the show, touching nothing but the recovery file.
KeepResult keepShow(const Show& show, const EffectImageStore& images, const QString& path,
                    const QByteArray& saved, const QByteArray& kept, const QString& stamp) {
    const QByteArray now = digestOf(show, images);
    if (now.isEmpty() || now == kept) return {kept};
    if (now == saved) {
        // The edits were taken back: the Show File holds the show again.
        removeFile(path);
        return {now};
    }
    const auto bytes = showBytes(show, images, stamp);
    if (!bytes || !writeWholeFile(path, *bytes)) return {kept};
    return {now, true};
}

}  // namespace

ShowRecovery::ShowRecovery(Show& show, EffectImageStore& images, AppPaths paths, Clock& clock)
    : m_show(show), m_images(images), m_paths(std::move(paths)), m_clock(clock) {}

ShowRecovery::~ShowRecovery() {
    finishCheck();
}

QByteArray ShowRecovery::digest() const {
    return digestOf(m_show, m_images);
}

void ShowRecovery::finishCheck() {
    if (!m_check.valid()) return;
    // The check compared with the loaded show's digest: what it kept comes after.
    settleLoaded();
    m_kept = m_check.get();
}

void ShowRecovery::settleLoaded() {
    if (!m_loadedDigest.valid()) return;
    m_saved = m_loadedDigest.get();
    m_kept = m_saved;
    m_loadedDigest = {};
}

void ShowRecovery::markSaved() {
    finishCheck();
    // Not made yet, it is no longer needed.
    m_loadedDigest = {};
    m_saved = digest();
    m_kept = m_saved;
}

void ShowRecovery::loaded() {
    if (m_restoring) return;
    finishCheck();
    // Of the show as loaded: edits made before the digest is made do not count. It is made by
    // whoever needs it first: the next check, beside the loop once start-up is over, or a save.
    m_loadedDigest =
        std::async(std::launch::deferred, [copy = m_show, &images = m_images]() mutable {
            QByteArray digest = digestOf(std::move(copy), images);
            releaseFreedMemory();
            return digest;
        }).share();
}

void ShowRecovery::saved() {
    markSaved();
    removeFile(path());
}

void ShowRecovery::tick() {
    if (m_loadedDigest.valid() &&
        m_loadedDigest.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        settleLoaded();
    if (m_check.valid()) {
        if (m_check.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
        m_kept = m_check.get();
    }
    const std::uint32_t now = m_clock.milliseconds();
    // The show just loaded has its digest made by the first check, touched or not.
    const bool due = m_touched || m_loadedDigest.valid();
    if (!due || (m_checked && now - m_lastCheck < kRecoveryIntervalMs)) return;
    m_checked = true;
    m_touched = false;
    m_lastCheck = now;
    // Building and writing the largest show takes longer than an output tick: the check runs on
    // a copy beside the main loop, which goes on sending frames.
    m_check =
        std::async(std::launch::async,
                   [copy = std::make_shared<const Show>(m_show), &images = m_images, path = path(),
                    saved = m_saved, kept = m_kept, loaded = m_loadedDigest,
                    stamp = showStampText(m_clock.localTime(), m_paths.programDir)]() mutable {
                       // After a load the check first makes the loaded show's digest, which
                       // stands for both the Show File and the recovery file.
                       const QByteArray file = loaded.valid() ? loaded.get() : saved;
                       const QByteArray& before = loaded.valid() ? file : kept;
                       QByteArray result = keepShow(*copy, images, path, file, before, stamp).kept;
                       copy.reset();
                       releaseFreedMemory();
                       return result;
                   });
}

bool ShowRecovery::keepIfChanged() {
    finishCheck();
    settleLoaded();
    const KeepResult r = keepShow(m_show, m_images, path(), m_saved, m_kept,
                                  showStampText(m_clock.localTime(), m_paths.programDir));
    m_kept = r.kept;
    return r.written;
}

bool ShowRecovery::offerRestore(ShowFile& file, Prompter& prompter) {
    finishCheck();
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
    settleLoaded();
    m_kept = digest();
    return true;
}

void ShowRecovery::discard() {
    finishCheck();
    removeFile(path());
}

}  // namespace kx
