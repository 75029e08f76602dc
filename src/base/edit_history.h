#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "base/outcome.h"

namespace kx {

// One change the technician can take back: the table it touched as it was before and as it is
// after, and how to put either back. Snapshots are shared between entries where they are equal,
// so a run of edits to one table holds each state once.
struct EditEntry {
    QString description;  // "素材 3 通道 5"
    // What was edited ("素材 2/1/3"): an entry's snapshot of the same table may be shared.
    QString table;
    // Consecutive entries with the same non-empty key are one (a fader drag, a run of typing),
    // until the run is sealed.
    QString mergeKey;
    std::shared_ptr<const void> before;
    std::shared_ptr<const void> after;
    std::size_t beforeBytes = 0;
    std::size_t afterBytes = 0;
    // Puts a snapshot back (switching to what it belongs to first); refused with a message when
    // that switch cannot be made, the show then staying as it was.
    std::function<Outcome(const void* snapshot)> restore;
};

// What the history keeps at most; the oldest entries go first.
struct EditHistoryLimits {
    int entries = 200;
    std::size_t bytes = std::size_t{64} << 20;
};

// The program's one list of edits, in the order they were made, with the undone ones ready to be
// made again. Bounded by entries and by the memory of the snapshots; the oldest go first.
class EditHistory : public QObject {
    Q_OBJECT

  public:
    using Limits = EditHistoryLimits;

    explicit EditHistory(Limits limits = {}, QObject* parent = nullptr);

    // A new edit: the undone ones are gone; it joins the newest entry when their keys match and
    // the run is still open.
    void record(EditEntry entry);
    // The current run ends: the next edit is an entry of its own.
    void seal() { m_sealed = true; }
    // Nothing to undo (or redo) does nothing: not done, no message.
    Outcome undo();
    Outcome redo();
    void clear();

    bool canUndo() const { return !m_done.empty(); }
    bool canRedo() const { return !m_undone.empty(); }
    // The buttons' tooltips: "撤销：素材 3 通道 5"; "撤销" alone with nothing to undo.
    QString undoTip() const;
    QString redoTip() const;
    int entryCount() const { return static_cast<int>(m_done.size() + m_undone.size()); }
    // The memory the snapshots take, each shared snapshot once.
    std::size_t bytes() const;
    // True while an entry is being put back: the editors' own stores then record nothing.
    bool restoring() const { return m_restoring; }
    // The newest entry's after-snapshot when it is of `table` (for sharing), else null.
    std::shared_ptr<const void> latestAfter(const QString& table) const;

  signals:
    void changed();

  private:
    void trim();
    // Puts the newest entry of `from` back (its after-state going forward, else its before-state)
    // and moves it to `to`; a refusal moves nothing.
    template <class From, class To>
    Outcome move(From& from, To& to, bool forward);

    Limits m_limits;
    std::deque<EditEntry> m_done;
    std::vector<EditEntry> m_undone;  // the next redo last
    bool m_sealed = true;
    bool m_restoring = false;
};

}  // namespace kx
