#pragma once

#include <QString>
#include <compare>
#include <map>
#include <vector>

#include "fixtures/fixture_library.h"

namespace kx {

// Where the fixture view draws each lamp: a grid of places, filled by page and number, in which
// the technician drags lamps to arrange them like the room. The places are kept in WORK_SET once
// a lamp was dragged; a lamp without one (patched later) takes the first free place.
inline constexpr int kLampColumns = 16;
inline constexpr int kLampRows = 50;
inline const QString kLampPlacesKey = QStringLiteral("DMX监视灯具位置");

struct LampPlace {
    int column = 0;
    int row = 0;
    auto operator<=>(const LampPlace&) const = default;
};

// By group fixture id (1-200: number on page 1, number + 100 on page 2).
using LampPlaces = std::map<int, LampPlace>;

struct PlacedLamp {
    int page = 0;
    int number = 0;
    LampPlace place;
    bool operator==(const PlacedLamp&) const = default;
};

// "3:0,1;105:4,0"; parsing skips what does not read as an id with a place inside the grid.
QString formatLampPlaces(const LampPlaces& places);
LampPlaces parseLampPlaces(const QString& text);
LampPlaces loadLampPlaces(const QString& workSet);
bool saveLampPlaces(const QString& workSet, const LampPlaces& places);

// Every patched fixture of the pages in use, by page and number: at its kept place when that is
// inside the grid and not taken by an earlier one, otherwise at the first free place.
std::vector<PlacedLamp> arrangeLamps(const FixtureLibrary& library, const LampPlaces& places);

// The places after dragging a lamp to target (held inside the grid): a lamp already there
// changes places with it; every lamp then keeps its place.
LampPlaces moveLamp(const std::vector<PlacedLamp>& lamps, LampPlaces places, int page, int number,
                    LampPlace target);

// The number of grid rows the lamps use.
int lampRowsUsed(const std::vector<PlacedLamp>& lamps);

}  // namespace kx
