#include <malloc.h>

#include <QApplication>

#include "app/application.h"
#include "app/qt_translations.h"

int main(int argc, char** argv) {
    // A whole Show File is built, read and digested in 4 MiB buffers, also on the save and
    // recovery threads. Left to itself the allocator raises its threshold after the first such
    // buffer is freed and keeps the next ones in each thread's heap, so the resident memory of a
    // long session climbs in 4 MiB steps; with a fixed threshold they are always given back.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    QApplication qtApp(argc, argv);
    kx::installQtTranslations(qtApp, QCoreApplication::applicationDirPath());
    kx::Application app(QCoreApplication::applicationDirPath());
    return app.run();
}
