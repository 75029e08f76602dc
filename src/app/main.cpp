#include <QApplication>

#include "app/application.h"

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    kx::Application app(QCoreApplication::applicationDirPath());
    return app.run();
}
