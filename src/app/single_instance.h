#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace kx {

// Detects a copy of the program already running from the same program directory. The lock is
// held for the life of this object and released by the system if the process dies.
class SingleInstance {
  public:
    explicit SingleInstance(const QString& programDir);
    // True when no other copy holds the lock; this copy holds it from then on.
    bool acquire();

    static QString lockPath(const QString& programDir);

  private:
    std::unique_ptr<QLockFile> m_lock;
};

}  // namespace kx
