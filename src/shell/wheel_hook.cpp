#include "shell/wheel_hook.h"

#include <QApplication>
#include <QWheelEvent>

namespace kx {

namespace {

// Sees the wheel messages of the whole application and takes those of its window while a wheel
// channel has the focus; all other messages pass on unchanged. It lives as long as the window.
class WheelListener : public QObject {
  public:
    WheelListener(QWidget* window, WheelRouter& router)
        : QObject(window), m_window(window), m_router(router) {
        qApp->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel) return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || (w != m_window && !m_window->isAncestorOf(w))) return false;
        if (!m_router.wantsWheel()) return false;
        m_router.onWheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
        return true;
    }

  private:
    QWidget* m_window;
    WheelRouter& m_router;
};

}  // namespace

void hookWheel(QWidget* window, WheelRouter& router) {
    if (!router.wheelDisabled) new WheelListener(window, router);
    router.wheelTarget = 0;
}

}  // namespace kx
