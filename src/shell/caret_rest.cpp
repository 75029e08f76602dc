#include "shell/caret_rest.h"

#include <QGuiApplication>
#include <QStyleHints>

namespace kx {

CaretRest::CaretRest(std::chrono::milliseconds after) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(after);
    connect(&m_timer, &QTimer::timeout, this, &CaretRest::rest);
    m_timer.start();
}

CaretRest::~CaretRest() {
    if (m_flashTime) QGuiApplication::styleHints()->setCursorFlashTime(*m_flashTime);
}

void CaretRest::input() {
    if (m_flashTime) {
        QGuiApplication::styleHints()->setCursorFlashTime(*m_flashTime);
        m_flashTime.reset();
    }
    m_timer.start();
}

void CaretRest::rest() {
    QStyleHints* hints = QGuiApplication::styleHints();
    // A desktop set not to blink has nothing to give back.
    if (hints->cursorFlashTime() <= 0) return;
    m_flashTime = hints->cursorFlashTime();
    hints->setCursorFlashTime(0);
}

}  // namespace kx
