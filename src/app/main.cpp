#include <QApplication>

#include "app/application.h"
#include "app/qt_translations.h"
#include "base/large_buffers.h"

int main(int argc, char** argv) {
    kx::tuneAllocator();
    QApplication qtApp(argc, argv);
    kx::installQtTranslations(qtApp, QCoreApplication::applicationDirPath());
    kx::Application app(QCoreApplication::applicationDirPath());
    return app.run();
}
