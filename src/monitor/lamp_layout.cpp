#include "monitor/lamp_layout.h"

#include <QStringList>
#include <algorithm>
#include <set>

#include "base/settings.h"

namespace kx {

namespace {

bool insideGrid(LampPlace p) {
    return p.column >= 0 && p.column < kLampColumns && p.row >= 0 && p.row < kLampRows;
}

}  // namespace

QString formatLampPlaces(const LampPlaces& places) {
    QStringList entries;
    for (const auto& [id, p] : places)
        entries << QStringLiteral("%1:%2,%3").arg(id).arg(p.column).arg(p.row);
    return entries.join(';');
}

LampPlaces parseLampPlaces(const QString& text) {
    LampPlaces places;
    for (const QString& entry : text.split(';', Qt::SkipEmptyParts)) {
        const QStringList idAndPlace = entry.split(':');
        if (idAndPlace.size() != 2) continue;
        const QStringList xy = idAndPlace[1].split(',');
        if (xy.size() != 2) continue;
        bool okId = false, okX = false, okY = false;
        const int id = idAndPlace[0].trimmed().toInt(&okId);
        const LampPlace p{xy[0].trimmed().toInt(&okX), xy[1].trimmed().toInt(&okY)};
        if (okId && okX && okY && id >= 1 && id <= libraryPages * kFixturesPerPage && insideGrid(p))
            places[id] = p;
    }
    return places;
}

LampPlaces loadLampPlaces(const QString& workSet) {
    return parseLampPlaces(Fun_IniRead(workSet, kLampPlacesKey));
}

bool saveLampPlaces(const QString& workSet, const LampPlaces& places) {
    return Fun_IniWrite(workSet, kLampPlacesKey, formatLampPlaces(places));
}

std::vector<PlacedLamp> arrangeLamps(const FixtureLibrary& library, const LampPlaces& places) {
    std::vector<PlacedLamp> lamps;
    std::set<LampPlace> taken;
    std::vector<std::size_t> unplaced;
    for (int page = 0; page < libraryPages; ++page) {
        for (int n = 1; n <= kFixturesPerPage; ++n) {
            if (!isPatched(library.at(page, n))) continue;
            PlacedLamp lamp{page, n, {}};
            const auto kept = places.find(groupFixtureId(page, n));
            if (kept != places.end() && insideGrid(kept->second) &&
                taken.insert(kept->second).second) {
                lamp.place = kept->second;
            } else {
                unplaced.push_back(lamps.size());
            }
            lamps.push_back(lamp);
        }
    }
    LampPlace next{0, 0};
    for (std::size_t i : unplaced) {
        while (taken.count(next)) {
            if (++next.column == kLampColumns) next = {0, next.row + 1};
        }
        lamps[i].place = next;
        taken.insert(next);
    }
    return lamps;
}

LampPlaces moveLamp(const std::vector<PlacedLamp>& lamps, LampPlaces places, int page, int number,
                    LampPlace target) {
    target.column = std::clamp(target.column, 0, kLampColumns - 1);
    target.row = std::clamp(target.row, 0, kLampRows - 1);
    const auto moved = std::find_if(lamps.begin(), lamps.end(), [&](const PlacedLamp& l) {
        return l.page == page && l.number == number;
    });
    if (moved == lamps.end()) return places;
    // Every lamp keeps the place it has now, so that no other lamp moves up into the one left.
    for (const PlacedLamp& other : lamps) {
        const LampPlace p = other.place == target ? moved->place : other.place;
        places[groupFixtureId(other.page, other.number)] = p;
    }
    places[groupFixtureId(page, number)] = target;
    return places;
}

int lampRowsUsed(const std::vector<PlacedLamp>& lamps) {
    int rows = 0;
    for (const PlacedLamp& l : lamps)
        rows = std::max(rows, l.place.row + 1);
    return rows;
}

}  // namespace kx
