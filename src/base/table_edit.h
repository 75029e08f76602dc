#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <memory>

#include "base/edit_history.h"

namespace kx {

// The memory a snapshot of a table takes; tables with storage of their own overload it.
template <class T>
std::size_t snapshotBytes(const T&) {
    return sizeof(T);
}

// One store of an editor, recorded: made at the start of the store, it keeps the table as it
// was; when it ends and the table changed, the history gets an entry holding both states. A
// store that changed nothing leaves no entry, and nothing is recorded without a history or
// while the history itself puts an entry back.
template <class T>
class TableEdit {
  public:
    using Restore = std::function<Outcome(const T&)>;

    TableEdit(EditHistory* history, const T& table, QString tableName, QString description,
              QString mergeKey, Restore restore) {
        if (history == nullptr || history->restoring()) return;
        m_history = history;
        m_table = &table;
        auto shared = std::static_pointer_cast<const T>(history->latestAfter(tableName));
        m_before = shared && *shared == table ? shared : std::make_shared<const T>(table);
        m_entry.table = std::move(tableName);
        m_entry.description = std::move(description);
        m_entry.mergeKey = std::move(mergeKey);
        m_restore = std::move(restore);
    }

    ~TableEdit() {
        if (m_history == nullptr || *m_before == *m_table) return;
        auto after = std::make_shared<const T>(*m_table);
        m_entry.beforeBytes = snapshotBytes(*m_before);
        m_entry.afterBytes = snapshotBytes(*after);
        m_entry.before = m_before;
        m_entry.after = std::move(after);
        m_entry.restore = [restore = std::move(m_restore)](const void* snapshot) {
            return restore(*static_cast<const T*>(snapshot));
        };
        m_history->record(std::move(m_entry));
    }

    TableEdit(const TableEdit&) = delete;
    TableEdit& operator=(const TableEdit&) = delete;

  private:
    EditHistory* m_history = nullptr;
    const T* m_table = nullptr;
    std::shared_ptr<const T> m_before;
    EditEntry m_entry;
    Restore m_restore;
};

// A recorded store of a table that exists only as a view of the show (an Effect with its bank,
// every Effect with the images): taken at the start, taken again when the store ends, one entry
// when it differs.
template <class T>
class SnapshotEdit {
  public:
    SnapshotEdit(EditHistory* history, std::function<T()> take, QString tableName,
                 QString description, QString mergeKey, typename TableEdit<T>::Restore restore)
        : m_take(std::move(take)),
          m_state(history == nullptr || history->restoring() ? T{} : m_take()),
          m_edit(history, m_state, std::move(tableName), std::move(description),
                 std::move(mergeKey), std::move(restore)),
          m_active(history != nullptr && !history->restoring()) {}
    // The state as the store left it, before the entry is recorded.
    ~SnapshotEdit() {
        if (m_active) m_state = m_take();
    }

    SnapshotEdit(const SnapshotEdit&) = delete;
    SnapshotEdit& operator=(const SnapshotEdit&) = delete;

  private:
    std::function<T()> m_take;
    T m_state;
    TableEdit<T> m_edit;
    bool m_active;
};

}  // namespace kx
