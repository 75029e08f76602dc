#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "cli/room_download.h"

namespace kx {

// Downloads one Show File to many rooms, `parallel` at a time, each on a thread of its own with
// its own link; a room that fails is tried once more. Outcomes are reported on the thread that
// made the batch, as each room finishes.
class DownloadBatch : public QObject {
    Q_OBJECT
  public:
    DownloadBatch(QString showPath, std::vector<Room> rooms, int parallel,
                  QObject* parent = nullptr);
    ~DownloadBatch() override;

    std::function<void(const RoomOutcome&)> roomFinished;
    std::function<void()> finished;

    void start();
    // No room starts any more and running transfers stop after their current block; every
    // Controller already connected is released.
    void stop() { m_stop = true; }
    bool stopping() const { return m_stop; }

    const std::vector<RoomOutcome>& outcomes() const { return m_outcomes; }
    // Rooms that never started (the batch was stopped first).
    std::vector<Room> notStarted() const;

  private:
    void work();
    void report(const RoomOutcome& outcome);

    QString m_showPath;
    std::vector<Room> m_rooms;
    int m_parallel;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::size_t m_next = 0;
    std::vector<std::unique_ptr<QThread>> m_threads;
    std::vector<RoomOutcome> m_outcomes;
    std::vector<bool> m_started;
    int m_running = 0;
};

// "101  ->下载成功  1.2 s" (the name padded for a column).
QString outcomeLine(const RoomOutcome& outcome, int nameWidth);

}  // namespace kx
