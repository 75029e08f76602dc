#include "storage/waiting_write.h"

#include "base/file_io.h"

namespace kx {

bool writeWholeFileWaiting(const Waiter& waiter, const QString& path, const QByteArray& bytes) {
    return runWaiting(waiter, [&] { return writeWholeFile(path, bytes); });
}

}  // namespace kx
