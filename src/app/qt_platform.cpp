#include "app/qt_platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QThread>
#include <QWindow>

#include "app/caption.h"
#include "base/thread_wait.h"

namespace kx {

QtPlatform::QtPlatform(QString programDir) : m_programDir(std::move(programDir)) {
    qApp->installEventFilter(this);
}

std::uint32_t QtPlatform::milliseconds() {
    // The monotonic clock since boot, kept to 32 bits like the system counter it stands for.
    QElapsedTimer timer;
    timer.start();
    return static_cast<std::uint32_t>(timer.msecsSinceReference());
}

void QtPlatform::sleep(int ms) {
    QThread::msleep(static_cast<unsigned long>(std::max(ms, 0)));
}

void QtPlatform::processEvents(int maxWaitMs) {
    // Sockets, timers and painting go on while the program waits for the Controller; the user's
    // clicks and keys stay queued in the window system, in order, and reach their controls as
    // soon as the wait is over, so no handler starts new work in the middle of a command and no
    // key press is lost.
    ++m_waitDepth;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{m_waitDepth};
    processThreadEvents(maxWaitMs, QEventLoop::AllEvents | QEventLoop::ExcludeUserInputEvents);
}

void QtPlatform::releaseInput() {
    if (m_holds > 0) --m_holds;
    if (m_holds == 0 && m_waitDepth == 0) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QDateTime QtPlatform::localTime() {
    return QDateTime::currentDateTime();
}

void QtPlatform::message(const QString& text) {
    QMessageBox::information(QApplication::activeWindow(), kProductName, text);
}

bool QtPlatform::askYesNo(const QString& text) {
    return QMessageBox::question(QApplication::activeWindow(), kProductName, text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QString QtPlatform::fileDialog(const FileDialog& d) {
    const QString filter = d.filterName;
    QFileDialog dialog(QApplication::activeWindow(), d.title, d.folder, filter);
    dialog.setNameFilter(d.filterName.left(d.filterName.indexOf(" (")) + " (" + d.pattern + ")");
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (d.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

std::uint16_t QtPlatform::asyncKeyState(int vk) {
    if (vk < 0 || vk > 255) return 0;
    std::uint16_t state = m_down[vk] ? 0x8000 : 0;
    if (m_pressedSinceQuery[vk]) state |= 1;
    m_pressedSinceQuery[vk] = false;
    return state;
}

int QtPlatform::virtualKeyOf(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace:
            return 0x08;
        case Qt::Key_Tab:
            return 0x09;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 0x0D;
        case Qt::Key_Shift:
            return 0x10;
        case Qt::Key_Control:
            return 0x11;
        case Qt::Key_Alt:
            return 0x12;
        case Qt::Key_Escape:
            return 0x1B;
        case Qt::Key_Space:
            return 0x20;
        case Qt::Key_PageUp:
            return 0x21;
        case Qt::Key_PageDown:
            return 0x22;
        case Qt::Key_End:
            return 0x23;
        case Qt::Key_Home:
            return 0x24;
        case Qt::Key_Left:
            return 0x25;
        case Qt::Key_Up:
            return 0x26;
        case Qt::Key_Right:
            return 0x27;
        case Qt::Key_Down:
            return 0x28;
        case Qt::Key_Insert:
            return 0x2D;
        case Qt::Key_Delete:
            return 0x2E;
        default:
            return 0;
    }
}

namespace {

bool isInput(const QEvent& event) {
    switch (event.type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::Drop:
        case QEvent::InputMethod:
            return true;
        case QEvent::MouseMove:
            return static_cast<const QMouseEvent&>(event).buttons() != Qt::NoButton;
        default:
            return false;
    }
}

}  // namespace

bool QtPlatform::eventFilter(QObject* watched, QEvent* event) {
    if (m_inputObserver && isInput(*event)) m_inputObserver();
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const int vk = virtualKeyOf(static_cast<QKeyEvent*>(event)->key());
        const bool press = event->type() == QEvent::KeyPress;
        if (vk > 0) {
            if (m_down[vk] != press) m_keysDown += press ? 1 : -1;
            m_down[vk] = press;
            if (press) m_pressedSinceQuery[vk] = true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kx
