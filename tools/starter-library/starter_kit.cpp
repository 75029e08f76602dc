#include "starter_kit.h"

#include "materials/motion_generator.h"

namespace kx::starter {

Material blankMaterial(const QString& remark, int fixtures, std::initializer_list<int> functions,
                       int unifiedTime, std::initializer_list<int> firstFixtures) {
    Material m;
    m.setRemark(remark);
    m.setFixtureCount(fixtures);
    m.setChannelCount(static_cast<int>(functions.size()));
    int k = 1;
    for (int code : functions)
        m.setChannelFunction(k++, code);
    m.setUnifiedTime(unifiedTime);
    for (int first : firstFixtures)
        for (int v = 1; v <= fixtures; ++v)
            m.setMapped(v, 0, first + v - 1, true);
    return m;
}

void setLevels(Material& m, int step, int fixture, Levels levels) {
    for (const Level& l : levels)
        for (int k = 1; k <= m.channelCount(); ++k)
            if (m.channelFunction(k) == l.function) m.setValue(step, fixture, k, l.value);
}

int appendStep(Material& m, Levels levels, int stepTime) {
    const int step = m.stepCount() + 1;
    m.setStepCount(step);
    m.setStepTime(step, stepTime);
    for (int v = 1; v <= m.fixtureCount(); ++v)
        setLevels(m, step, v, levels);
    return step;
}

int appendAlternateStep(Material& m, int parity, Levels levels) {
    const int step = m.stepCount() + 1;
    m.setStepCount(step);
    for (int v = 1; v <= m.fixtureCount(); ++v)
        if (v % 2 == parity) setLevels(m, step, v, levels);
    return step;
}

void fillAllSteps(Material& m, Levels levels) {
    for (int s = 1; s <= m.stepCount(); ++s)
        for (int v = 1; v <= m.fixtureCount(); ++v)
            setLevels(m, s, v, levels);
}

ChaseFields headToTail(int lit, bool reverse) {
    ChaseFields f;
    f.type = kChaseTypeHeadToTail;
    f.litCount = QString::number(lit);
    f.reverse = reverse;
    return f;
}

Material chaseMaterial(Material m, const ChaseFields& fields) {
    generateChase(m, fields);
    return m;
}

Material circleMaterial(Material m, int speed, const std::vector<Circle>& circles, Levels levels) {
    m.setMotionMode(1);
    setGlobalParameter(m, kMotionSpeed, speed);
    for (int v = 1; v <= m.fixtureCount(); ++v) {
        const Circle& c = circles.at(static_cast<std::size_t>(v - 1) % circles.size());
        // A centre of 0 is a valid setting, so the defaults leave it: it is given here.
        applyMotionDefaults(m, v);
        setFixtureParameter(m, v, kCentreX, c.centreX, {}, false);
        setFixtureParameter(m, v, kCentreY, c.centreY, {}, false);
        setFixtureParameter(m, v, kRadius, c.radius, {}, false);
        setFixtureParameter(m, v, kAngleOffset, c.angleOffset, {}, false);
        setFixtureParameter(m, v, kDirection, c.direction, {}, false);
        setFixtureParameter(m, v, kScaleX, c.scaleX, {}, false);
        setFixtureParameter(m, v, kScaleY, c.scaleY, {}, false);
        setFixtureParameter(m, v, kLockY, c.lockY, {}, false);
    }
    generateCircleSteps(m);
    fillAllSteps(m, levels);
    return m;
}

}  // namespace kx::starter
