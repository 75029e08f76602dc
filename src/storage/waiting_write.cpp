#include "storage/waiting_write.h"

#include <chrono>
#include <future>

#include "base/file_io.h"

namespace kx {

bool writeWholeFileWaiting(const Waiter& waiter, const QString& path, const QByteArray& bytes) {
    auto written = std::async(std::launch::async, [&] { return writeWholeFile(path, bytes); });
    // The events in between, about once a millisecond: often enough for the output tick, and a
    // clock that moves on every pump (as in a simulation) moves about as far as the write took.
    while (written.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
        waiter.pump.processEvents(1);
    return written.get();
}

}  // namespace kx
