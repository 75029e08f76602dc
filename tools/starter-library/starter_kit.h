#pragma once

#include <QString>
#include <initializer_list>
#include <vector>

#include "materials/chase_generator.h"
#include "materials/material.h"

namespace kx::starter {

// One shipped Material: its category (1-8), the file's caption, the description written beside
// it and the Material itself.
struct StarterMaterial {
    int category = 0;
    QString caption;
    QString description;
    Material material;
};

// A value for the Material channel of a Channel Function.
struct Level {
    int function;
    int value;
};
using Levels = std::initializer_list<Level>;

// A Material without Steps: remark, Virtual Fixtures 1..fixtures, one channel per function and
// the unified time (tenths). Virtual Fixture v drives fixture first + v - 1 of Library Page 1 for
// each first given.
Material blankMaterial(const QString& remark, int fixtures, std::initializer_list<int> functions,
                       int unifiedTime, std::initializer_list<int> firstFixtures);

// Sets the channel of that function of one Virtual Fixture in one Step (a Material without such a
// channel is left as it is).
void setLevels(Material& m, int step, int fixture, Levels levels);
// A new last Step in which every Virtual Fixture has the levels; its number.
int appendStep(Material& m, Levels levels, int stepTime = 0);
// A new last Step in which the Virtual Fixtures of the parity (1 odd, 0 even) have the levels and
// the others stay dark; its number.
int appendAlternateStep(Material& m, int parity, Levels levels);
// Sets the levels in every Step for every Virtual Fixture (what a circle leaves at 0).
void fillAllSteps(Material& m, Levels levels);

// The chase generator's fields for "01-头尾衔接".
ChaseFields headToTail(int lit, bool reverse = false);
// A chase written by the chase generator into m.
Material chaseMaterial(Material m, const ChaseFields& fields);

// Circle parameters of one Virtual Fixture.
struct Circle {
    int radius = 50;
    int angleOffset = 0;
    int direction = 0;
    int scaleX = 100;
    int scaleY = 100;
    int lockY = 0;
    int centreX = 127;
    int centreY = 127;
};
// One revolution written by the Motion Generator (channel 1 X, channel 2 Y), then
// the other channels set to the levels in every Step.
Material circleMaterial(Material m, int speed, const std::vector<Circle>& circles, Levels levels);

}  // namespace kx::starter
