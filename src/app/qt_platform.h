#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <array>
#include <vector>

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
    QString programDir() const override { return m_programDir; }

    // Virtual-key code of a Qt key, 0 when it has none.
    static int virtualKeyOf(int qtKey);
    // True while a wait handles events: the user's input is dropped then.
    bool waiting() const { return !m_waits.empty(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Whether input to watched may pass during the innermost wait: only to a modal dialog that
    // was opened inside it (a message a handler shows), never to the windows that were there.
    bool inputAllowedDuringWait(QObject* watched) const;

    QString m_programDir;
    // The modal widget in front when each running wait began (innermost last).
    std::vector<QPointer<QWidget>> m_waits;
    std::array<bool, 256> m_down{};
    std::array<bool, 256> m_pressedSinceQuery{};
};

}  // namespace kx
