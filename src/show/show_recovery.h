#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>

#include "base/clock.h"
#include "base/paths.h"
#include "base/prompter.h"
#include "show/show.h"

namespace kx {

inline const QString kAskRecover = QStringLiteral("检测到未保存的修改，是否恢复？");
inline const QString kMsgRecoveryDamaged = QStringLiteral("恢复文件已损坏，无法恢复！");
inline constexpr std::uint32_t kRecoveryIntervalMs = 30'000;

// Lets a running check write or remove the recovery file only until a save or a load has made
// its copy of the show out of date.
struct RecoveryGate {
    std::mutex mutex;
    bool closed = false;
};

// Keeps the edits made since the last save safe from a crash or a power cut: every 30 s, when
// the show differs from what the Show File holds and from what was last kept, the whole show is
// written atomically to the recovery file beside the Show File. The Show File itself is written
// only when the program saves.
class ShowRecovery {
  public:
    ShowRecovery(Show& show, EffectImageStore& images, AppPaths paths, Clock& clock);
    // A check still running is waited for.
    ~ShowRecovery();
    ShowRecovery(const ShowRecovery&) = delete;
    ShowRecovery& operator=(const ShowRecovery&) = delete;

    const QString& path() const { return m_paths.recoveryFile; }

    // The show is what a file holds: loaded (the recovery file stays until the restore is decided
    // or the next save) or saved to the Show File (the recovery file goes). digest is the saved
    // file's showContentDigest when the saver knows it ("": made from the show). A check still
    // running is not waited for; whatever it would still write is dropped.
    void loaded();
    void saved(const QByteArray& digest = {});
    // Something that can change the show happened: the technician's input or a reply from the
    // Controller. Only then is there anything for the next check to look at.
    void touched() { m_touched = true; }
    // From the main loop, as often as it likes: every 30 s, when the show was touched since the
    // last check began or was just loaded, the check starts on a copy of the show and runs beside
    // the loop; a later tick takes its result. An untouched show costs nothing, so an idle
    // program stays asleep.
    void tick();
    // The check itself, at once: true when the recovery file was written.
    bool keepIfChanged();

    // Start-up, after the Show File was loaded: a recovery file newer than the Show File is
    // offered ("检测到未保存的修改，是否恢复？"). Yes loads it as the show (it reaches the Show
    // File with the next save); No deletes it; one that cannot be loaded is said and kept in
    // the backup folder under a dated name. True when the show was restored.
    bool offerRestore(ShowFile& file, Prompter& prompter);
    // A clean shutdown: nothing is left to recover.
    void discard();

  private:
    // What the show holds, without the save stamp: equal digests, equal shows.
    QByteArray digest() const;
    // Waits for a check still running and takes its result, so nothing it writes comes after
    // what follows (a restore, a removal).
    void finishCheck();
    // Waits for the digest of the show last loaded: from then on it stands for the Show File.
    void settleLoaded();
    // Closes the running check's gate: its copy of the show is out of date.
    void dropCheck();

    Show& m_show;
    EffectImageStore& m_images;
    AppPaths m_paths;
    Clock& m_clock;
    QByteArray m_saved;  // digest of the Show File's show
    QByteArray m_kept;   // digest of the recovery file's show
    std::uint32_t m_lastCheck = 0;
    bool m_checked = false;
    bool m_touched = false;
    bool m_restoring = false;  // the show being loaded is the recovery copy, not the Show File
    std::future<QByteArray> m_check;  // the running check: the digest then kept
    // The digest of the show just loaded, made by the first check beside the loop rather than
    // during the load (for the largest show it takes longer than the whole start-up may).
    std::shared_future<QByteArray> m_loadedDigest;
    std::shared_ptr<RecoveryGate> m_gate;
};

}  // namespace kx
