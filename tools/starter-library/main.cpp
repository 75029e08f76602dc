// Writes the starter library (Common Fixtures and standard Materials) into the AppSet folder
// given as the only argument. The build runs it; its output is laid beside the program.
#include <QCoreApplication>
#include <QTextStream>

#include "starter_library.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: kx7420-starter <AppSet folder>\n";
        return 2;
    }
    const kx::starter::WriteReport report = kx::starter::writeStarterLibrary(args.at(1));
    for (const QString& failure : report.failures)
        err << failure << "\n";
    QTextStream(stdout) << "starter library: " << report.fixtures << " fixtures, "
                        << report.materials << " materials\n";
    return report.failures.isEmpty() ? 0 : 1;
}
