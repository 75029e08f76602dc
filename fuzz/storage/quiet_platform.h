#pragma once

#include "base/platform.h"

namespace kx::fuzz {

// A platform that answers nothing and shows nothing: readers may report to it freely.
class QuietPlatform : public Platform {
  public:
    std::uint32_t milliseconds() override { return ++m_clock; }
    void sleep(int ms) override { m_clock += static_cast<std::uint32_t>(ms); }
    void processEvents(int) override { ++m_clock; }
    QDateTime localTime() override { return QDateTime(QDate(2026, 1, 1), QTime(0, 0)); }
    void message(const QString&) override {}
    bool askYesNo(const QString&) override { return false; }
    QString fileDialog(const FileDialog&) override { return {}; }
    std::uint16_t asyncKeyState(int) override { return 0; }
    QString programDir() const override { return QStringLiteral("/nonexistent"); }

  private:
    std::uint32_t m_clock = 0;
};

// Installed once for the whole fuzzing process.
inline void installQuietPlatform() {
    static QuietPlatform quiet;
    static PlatformScope scope(quiet);
}

}  // namespace kx::fuzz
