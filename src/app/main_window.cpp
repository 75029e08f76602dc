#include "app/main_window.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include "app/title_bar.h"

namespace kx {

MainWindow::MainWindow(std::function<void()> onCloseRequest, EventPump& pump, QWidget* parent)
    : QWidget(parent),
      m_onCloseRequest(std::move(onCloseRequest)),
      m_pump(pump),
      m_titleBar(new QWidget(this)),
      m_views(new QStackedWidget(this)) {
    setObjectName("MainWindow");
    resize(kWidth, kHeight);
    m_titleBar->setObjectName("TitleBarArea");
    m_titleBar->setGeometry(0, 0, kWidth, kTitleBarHeight);
    m_views->setObjectName("ViewArea");
    m_views->setGeometry(0, kTitleBarHeight, kWidth, kHeight - kTitleBarHeight);
}

void MainWindow::showFixed() {
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                    Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                    Qt::WindowCloseButtonHint) &
                   ~Qt::WindowMaximizeButtonHint);
    setFixedSize(kWidth, kHeight);
    show();
}

void MainWindow::dockTitleBar(QWidget* titleBar) {
    if (!m_titleBar->layout()) {
        auto* layout = new QVBoxLayout(m_titleBar);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    m_titleBar->layout()->addWidget(titleBar);
    titleBar->show();
}

void MainWindow::prepareView(QWidget* view, const QPixmap& background) {
    view->hide();
    if (m_views->indexOf(view) < 0) m_views->addWidget(view);
    if (!background.isNull()) {
        QPalette pal = view->palette();
        pal.setBrush(QPalette::Window, QBrush(background));
        view->setPalette(pal);
        view->setAutoFillBackground(true);
    }
}

void MainWindow::showView(QWidget* view) {
    bringToFront(view);
    m_pump.processEvents(0);
}

void MainWindow::bringToFront(QWidget* view) {
    if (m_views->indexOf(view) < 0) m_views->addWidget(view);
    m_views->setCurrentWidget(view);
    view->show();
    m_current = view;
    if (m_viewShown) m_viewShown(view);
}

void MainWindow::centreOverMain(QWidget* window) {
    const QPoint p = centreOverMainPosition(width(), height(), window->width(), window->height(),
                                            kTitleBarHeight);
    window->move(m_views->mapToGlobal(p));
    window->show();
}

void MainWindow::setCaption(const QString& path) {
    setWindowTitle(mainCaption(path, m_captionStyle));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_onCloseRequest) m_onCloseRequest();
}

}  // namespace kx
