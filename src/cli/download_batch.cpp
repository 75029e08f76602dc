#include "cli/download_batch.h"

#include <algorithm>

namespace kx {

DownloadBatch::DownloadBatch(QString showPath, std::vector<Room> rooms, int parallel,
                             QObject* parent)
    : QObject(parent),
      m_showPath(std::move(showPath)),
      m_rooms(std::move(rooms)),
      m_parallel(std::max(parallel, 1)),
      m_started(m_rooms.size(), false) {}

DownloadBatch::~DownloadBatch() {
    m_stop = true;
    for (auto& t : m_threads)
        t->wait();
}

void DownloadBatch::start() {
    const int workers = std::min<int>(m_parallel, static_cast<int>(m_rooms.size()));
    m_running = workers;
    if (workers == 0) {
        if (finished) finished();
        return;
    }
    for (int i = 0; i < workers; ++i) {
        m_threads.emplace_back(QThread::create([this] { work(); }));
        connect(m_threads.back().get(), &QThread::finished, this, [this] {
            if (--m_running == 0 && finished) finished();
        });
        m_threads.back()->start();
    }
}

void DownloadBatch::work() {
    for (;;) {
        std::size_t index = 0;
        {
            const std::lock_guard lock(m_mutex);
            if (m_stop || m_next >= m_rooms.size()) return;
            index = m_next++;
            m_started[index] = true;
        }
        RoomOutcome outcome = downloadToRoom(m_rooms[index], m_showPath, m_stop);
        if (!outcome.verified && !outcome.interrupted) {
            // One more try: a room that was busy or lost a datagram too many often takes it.
            const std::uint32_t first = outcome.elapsedMs;
            outcome = downloadToRoom(m_rooms[index], m_showPath, m_stop);
            outcome.elapsedMs += first;
            outcome.attempts = 2;
        }
        QMetaObject::invokeMethod(
            this, [this, outcome] { report(outcome); }, Qt::QueuedConnection);
    }
}

void DownloadBatch::report(const RoomOutcome& outcome) {
    m_outcomes.push_back(outcome);
    if (roomFinished) roomFinished(outcome);
}

std::vector<Room> DownloadBatch::notStarted() const {
    std::vector<Room> rooms;
    for (std::size_t i = 0; i < m_rooms.size(); ++i) {
        if (!m_started[i]) rooms.push_back(m_rooms[i]);
    }
    return rooms;
}

QString outcomeLine(const RoomOutcome& outcome, int nameWidth) {
    return QStringLiteral("%1  %2  %3 s")
        .arg(outcome.room.name, -nameWidth)
        .arg(outcome.result)
        .arg(static_cast<double>(outcome.elapsedMs) / 1000.0, 0, 'f', 1);
}

}  // namespace kx
