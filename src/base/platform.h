#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace kx {

// What the desktop provides to the core, behind one seam: the program installs the Qt
// implementation, tests install a scripted double, so every core rule runs without a display.
class Platform {
  public:
    struct FileDialog {
        bool save = false;
        QString title;
        QString filterName;  // shown text, e.g. "打开文件 (*.K74)"
        QString pattern;     // e.g. "*.K74"
        QString folder;      // where the dialog opens
    };

    virtual ~Platform() = default;

    // Milliseconds since boot as a 32-bit counter that wraps; only differences are meaningful.
    virtual std::uint32_t milliseconds() = 0;
    virtual void sleep(int ms) = 0;
    // Handles pending interface events; waits at most maxWaitMs for one to arrive.
    virtual void processEvents(int maxWaitMs = 0) = 0;
    virtual QDateTime localTime() = 0;

    // Modal message boxes with the system's exact texts.
    virtual void message(const QString& text) = 0;
    virtual bool askYesNo(const QString& text) = 0;
    // The chosen full path, or "" when cancelled.
    virtual QString fileDialog(const FileDialog& dialog) = 0;

    // Key state word of a virtual-key code: bit 15 = down now, bit 0 = pressed since the
    // previous query of that key.
    virtual std::uint16_t asyncKeyState(int virtualKey) = 0;

    // The folder of the executable, without a trailing separator.
    virtual QString programDir() = 0;
};

// The platform in use. Exactly one is installed at a time.
Platform& platform();

// Installs a platform for the lifetime of the scope (the program's main, or a test).
class PlatformScope {
  public:
    explicit PlatformScope(Platform& p);
    ~PlatformScope();
    PlatformScope(const PlatformScope&) = delete;
    PlatformScope& operator=(const PlatformScope&) = delete;

  private:
    Platform* m_previous;
};

}  // namespace kx
