#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>

namespace kx {

QString SingleInstance::lockPath(const QString& programDir) {
    // Keyed by the program directory: a second installation elsewhere is a different program
    // with its own Show File, and the lock lives outside the program directory.
    const QByteArray key =
        QCryptographicHash::hash(QDir(programDir).absolutePath().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return QDir::tempPath() + "/kx7420-" + QString::fromLatin1(key) + ".lock";
}

SingleInstance::SingleInstance(const QString& programDir)
    : m_lock(std::make_unique<QLockFile>(lockPath(programDir))) {
    m_lock->setStaleLockTime(0);
}

bool SingleInstance::acquire() {
    return m_lock->isLocked() || m_lock->tryLock(0);
}

}  // namespace kx
