#include "app/main_window.h"

#include <QCloseEvent>

namespace kx {

MainWindow::MainWindow(std::function<void()> onCloseRequest, QWidget* parent)
    : QWidget(parent),
      m_onCloseRequest(std::move(onCloseRequest)),
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

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_onCloseRequest) m_onCloseRequest();
}

}  // namespace kx
