#pragma once

#include <QByteArray>
#include <QString>

#include "base/waiter.h"

namespace kx {

// writeWholeFile on a thread of its own while the waiter keeps the program going, so the output
// tick and painting go on while the disk takes the bytes and syncs them (a large show takes
// longer than an output tick). Returns what writeWholeFile returns.
bool writeWholeFileWaiting(const Waiter& waiter, const QString& path, const QByteArray& bytes);

}  // namespace kx
