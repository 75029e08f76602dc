#include "base/edit_history.h"

#include <unordered_set>

namespace kx {

EditHistory::EditHistory(Limits limits, QObject* parent) : QObject(parent), m_limits(limits) {}

void EditHistory::record(EditEntry entry) {
    if (m_restoring) return;
    m_undone.clear();
    if (!m_sealed && !entry.mergeKey.isEmpty() && !m_done.empty() &&
        m_done.back().mergeKey == entry.mergeKey) {
        EditEntry& run = m_done.back();
        run.after = std::move(entry.after);
        run.afterBytes = entry.afterBytes;
        run.restore = std::move(entry.restore);
    } else {
        m_done.push_back(std::move(entry));
    }
    m_sealed = false;
    trim();
    emit changed();
}

Outcome EditHistory::undo() {
    return move(m_done, m_undone, false);
}

Outcome EditHistory::redo() {
    return move(m_undone, m_done, true);
}

template <class From, class To>
Outcome EditHistory::move(From& from, To& to, bool forward) {
    if (from.empty()) return {};
    m_sealed = true;
    EditEntry& entry = from.back();
    m_restoring = true;
    const Outcome out = entry.restore(forward ? entry.after.get() : entry.before.get());
    m_restoring = false;
    if (out.done) {
        to.push_back(std::move(entry));
        from.pop_back();
        emit changed();
    }
    return out;
}

void EditHistory::clear() {
    if (m_done.empty() && m_undone.empty()) return;
    m_done.clear();
    m_undone.clear();
    m_sealed = true;
    emit changed();
}

QString EditHistory::undoTip() const {
    return m_done.empty() ? QStringLiteral("撤销")
                          : QStringLiteral("撤销：") + m_done.back().description;
}

QString EditHistory::redoTip() const {
    return m_undone.empty() ? QStringLiteral("重做")
                            : QStringLiteral("重做：") + m_undone.back().description;
}

std::size_t EditHistory::bytes() const {
    std::unordered_set<const void*> seen;
    std::size_t total = 0;
    auto count = [&](const std::shared_ptr<const void>& p, std::size_t n) {
        if (p && seen.insert(p.get()).second) total += n;
    };
    for (const EditEntry& e : m_done) {
        count(e.before, e.beforeBytes);
        count(e.after, e.afterBytes);
    }
    for (const EditEntry& e : m_undone) {
        count(e.before, e.beforeBytes);
        count(e.after, e.afterBytes);
    }
    return total;
}

std::shared_ptr<const void> EditHistory::latestAfter(const QString& table) const {
    if (m_done.empty() || m_done.back().table != table) return nullptr;
    return m_done.back().after;
}

void EditHistory::trim() {
    // The newest entry stays whatever it takes: the edit just made can always be taken back.
    while (m_done.size() > 1 && (entryCount() > m_limits.entries || bytes() > m_limits.bytes))
        m_done.pop_front();
}

}  // namespace kx
