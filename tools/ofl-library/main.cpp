// Converts the bundled Open Fixture Library into Common Fixtures at build time:
//   kx7420-ofl <data folder> <AppSet folder>        writes the library, fails on anything lost;
//   kx7420-ofl --merge-names <from file> <into file> adds the bundle's custom names to a user's.
#include <QCoreApplication>
#include <QTextStream>

#include "ofl_library.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("--merge-names")) {
        for (const QString& kept : kx::ofl::mergeCustomNames(args.at(2), args.at(3)))
            err << "custom name " << kept << "\n";
        return 0;
    }
    if (args.size() != 3) {
        err << "usage: kx7420-ofl <data folder> <AppSet folder>\n"
               "       kx7420-ofl --merge-names <from names file> <into names file>\n";
        return 2;
    }
    const kx::ofl::BundleReport report = kx::ofl::writeOflLibrary(args.at(1), args.at(2));
    for (const QString& failure : report.failures)
        err << "open fixture library: " << failure << "\n";
    QTextStream(stdout) << "open fixture library: " << report.manufacturers << " manufacturers, "
                        << report.fixtures << " fixtures, " << report.modes << " modes ("
                        << report.skipped.size() << " above 32 channels skipped)\n";
    return report.failures.isEmpty() ? 0 : 1;
}
