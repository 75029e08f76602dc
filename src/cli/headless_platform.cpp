#include "cli/headless_platform.h"

#include <QDateTime>
#include <QThread>

#include "base/thread_wait.h"

namespace kx {

std::uint32_t HeadlessPlatform::milliseconds() {
    return static_cast<std::uint32_t>(m_clock.elapsed());
}

void HeadlessPlatform::sleep(int ms) {
    QThread::msleep(static_cast<unsigned long>(std::max(ms, 0)));
}

QDateTime HeadlessPlatform::localTime() {
    return QDateTime::currentDateTime();
}

void HeadlessPlatform::processEvents(int maxWaitMs) {
    processThreadEvents(maxWaitMs);
}

}  // namespace kx
