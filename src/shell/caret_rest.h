#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <optional>

namespace kx {

// A focused text box blinks its caret for as long as it keeps the focus, and each blink wakes
// the otherwise idle program, repaints and syncs with the display. As desktops do, the caret stops
// blinking (and stays shown) once nobody has typed or clicked for a while, and blinks again with
// the next input.
class CaretRest : public QObject {
  public:
    explicit CaretRest(std::chrono::milliseconds after = std::chrono::seconds(10));
    ~CaretRest() override;

    // The technician typed, clicked, dragged or turned the wheel.
    void input();

  private:
    void rest();

    QTimer m_timer;
    std::optional<int> m_flashTime;  // while resting: the blink period to give back
};

}  // namespace kx
