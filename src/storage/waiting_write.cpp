#include "storage/waiting_write.h"

#include <atomic>
#include <thread>

#include "base/file_io.h"

namespace kx {

bool writeWholeFileWaiting(const Waiter& waiter, const QString& path, const QByteArray& bytes) {
    std::atomic<bool> done{false};
    bool written = false;
    std::thread writer([&] {
        written = writeWholeFile(path, bytes);
        done = true;
    });
    while (!done)
        waiter.pump.processEvents(2);
    writer.join();
    return written;
}

}  // namespace kx
