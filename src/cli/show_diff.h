#pragma once

#include <QString>
#include <QStringList>

#include "cli/show_reading.h"

namespace kx {

// One difference between two shows, named in the show's terms: where ("Scene 3", "fixture 0/12",
// "Effect 2 no-bass part Bar 4 Beat 1", "Material 2/1/3 Step 5"), which field, and the two
// values as text.
struct ShowDifference {
    QString where;
    QString field;
    QString before;
    QString after;
};

// Everything that differs from a to b: Room Control, Scenes, the Fixture Library, the Effects,
// every Effect's Materials and the Action Thresholds. Empty when the shows are equal.
std::vector<ShowDifference> diffShows(const LoadedShow& a, const LoadedShow& b);

// "Scene 3 effect: 2 -> 5".
QString differenceText(const ShowDifference& d);

}  // namespace kx
