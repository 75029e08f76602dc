#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <future>
#include <type_traits>

#include "base/waiter.h"

namespace kx {

// Runs work on a thread of its own while the waiter keeps the program going, and returns what it
// returned. The events in between come about once a millisecond: often enough for the output
// tick, and a clock that moves on every pump (as in a simulation) moves about as far as the work
// took. Work must not touch what the events may change.
template <typename Work>
std::invoke_result_t<Work&> runWaiting(const Waiter& waiter, Work work) {
    auto done = std::async(std::launch::async, std::move(work));
    while (done.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
        waiter.pump.processEvents(1);
    return done.get();
}

// writeWholeFile beside the wait, so the output tick and painting go on while the disk takes the
// bytes and syncs them (a large show takes longer than an output tick). Returns what
// writeWholeFile returns.
bool writeWholeFileWaiting(const Waiter& waiter, const QString& path, const QByteArray& bytes);

}  // namespace kx
