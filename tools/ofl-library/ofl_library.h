#pragma once

#include <QString>
#include <QStringList>

namespace kx::ofl {

// What converting the bundled Open Fixture Library did.
struct BundleReport {
    int manufacturers = 0;  // folders written
    int fixtures = 0;       // definitions with at least one mode written
    int modes = 0;          // files written
    QStringList skipped;    // "<file>: <mode>: <reason>" for modes above 32 channels
    QStringList failures;   // "<file>: <reason>": the bundle could not be converted whole
};

// Converts every definition of dataDir (fixtures/<maker>/<fixture>.json with
// fixtures/manufacturers.json naming the makers) into appSetDir/常用灯具/<maker's name>/ through
// the channel map and the single-fixture writer, and the custom names it gives into
// appSetDir/通道描述自定义.txt. Every mode within 32 channels must become a file: anything else
// (a file that does not read, a mode naming an undefined channel, a write that fails, two modes
// with one file name) is a failure.
BundleReport writeOflLibrary(const QString& dataDir, const QString& appSetDir);

// Adds the custom names of `from` to the custom name file `into`, code by code, where `into`
// still has the default name. A code the user renamed keeps its name; each such code is returned
// ("T150: 自定义61 kept as ...").
QStringList mergeCustomNames(const QString& from, const QString& into);

}  // namespace kx::ofl
