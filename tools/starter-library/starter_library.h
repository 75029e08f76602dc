#pragma once

#include <QString>
#include <QStringList>

namespace kx::starter {

// What writing the starter library did: the files written and every failure (a path and why).
struct WriteReport {
    int fixtures = 0;
    int materials = 0;
    QStringList failures;
};

// Writes the starter library below appSetDir through the tool's own writers:
//   常用灯具/通用/<type>.K_1DK          the Common Fixtures;
//   标准素材/<category>/<name>.K_1SC    the standard Materials, mapped onto the demonstration
//                                       room, each with <name>.txt (code page 936) beside it;
//   个性素材/<category>/                the personal library's folders, only created: nothing in
//                                       them is ever written or removed.
WriteReport writeStarterLibrary(const QString& appSetDir);

}  // namespace kx::starter
