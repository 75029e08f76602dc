#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "base/clock.h"
#include "base/event_pump.h"
#include "base/key_state.h"
#include "base/program_folder.h"
#include "base/prompter.h"

namespace kx {

// What the desktop provides to the program, over Qt: one object serves every seam.
class QtPlatform : public QObject,
                   public Clock,
                   public EventPump,
                   public Prompter,
                   public KeyState,
                   public ProgramFolder {
    Q_OBJECT
  public:
    explicit QtPlatform(QString programDir);

    std::uint32_t milliseconds() override;
    void sleep(int ms) override;
    void processEvents(int maxWaitMs) override;
    QDateTime localTime() override;
    void message(const QString& text) override;
    bool askYesNo(const QString& text) override;
    QString fileDialog(const FileDialog& dialog) override;
    std::uint16_t asyncKeyState(int virtualKey) override;
    // A key is held down: only then can a poll of the keys find a key newly pressed and down.
    bool anyKeyDown() const { return m_keysDown > 0; }
    QString programDir() const override { return m_programDir; }

    // Virtual-key code of a Qt key, 0 when it has none.
    static int virtualKeyOf(int qtKey);
    void holdInput() override { ++m_holds; }
    void releaseInput() override;
    // True while a wait handles events: the user's input is held then.
    bool waiting() const { return m_waitDepth > 0; }
    // Called on every key, click, wheel turn, drag and drop the program receives.
    void onInput(std::function<void()> observer) { m_inputObserver = std::move(observer); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString m_programDir;
    int m_waitDepth = 0;
    int m_holds = 0;
    std::array<bool, 256> m_down{};
    int m_keysDown = 0;
    std::array<bool, 256> m_pressedSinceQuery{};
    std::function<void()> m_inputObserver;
};

}  // namespace kx
