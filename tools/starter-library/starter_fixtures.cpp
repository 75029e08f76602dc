#include "starter_fixtures.h"

#include <initializer_list>

namespace kx::starter {

namespace {

// One channel: its Channel Function, the test value (测试值, what the library preview plays) and
// the adjust value (调试值, what a Material's Temporary Channel plays).
struct Channel {
    int function;
    int test;
    int adjust;
};

Fixture makeType(const QString& name, std::initializer_list<Channel> channels) {
    Fixture f;
    f.name = name;
    f.channelCount = static_cast<std::uint8_t>(channels.size());
    int i = 0;
    for (const Channel& c : channels) {
        f.functions[i] = static_cast<std::uint8_t>(c.function);
        f.testValues[i] = static_cast<std::uint8_t>(c.test);
        f.adjustValues[i] = static_cast<std::uint8_t>(c.adjust);
        ++i;
    }
    return f;
}

// Moving heads rest centred: pan and tilt at half, fine channels and speed at 0 (fastest).
constexpr Channel kPan{fn::X, 128, 128};
constexpr Channel kPanFine{fn::XFine, 0, 0};
constexpr Channel kTilt{fn::Y, 128, 128};
constexpr Channel kTiltFine{fn::YFine, 0, 0};
constexpr Channel kSpeed{fn::Speed, 0, 0};

}  // namespace

std::vector<Fixture> fixtureTypes() {
    return {
        makeType(kRgbPar, {{fn::R, 255, 0}, {fn::G, 255, 0}, {fn::B, 255, 0}}),
        makeType(kRgbwPar, {{fn::R, 255, 0}, {fn::G, 255, 0}, {fn::B, 255, 0}, {fn::W, 255, 0}}),
        makeType(kDimmerPar, {{fn::ColourDimmer, 255, 255},
                              {fn::R, 255, 0},
                              {fn::G, 255, 0},
                              {fn::B, 255, 0},
                              {fn::W, 255, 0},
                              {fn::ColourStrobe, 0, 0}}),
        makeType(kWashHead, {kPan,
                             kPanFine,
                             kTilt,
                             kTiltFine,
                             kSpeed,
                             {fn::ColourDimmer, 255, 255},
                             {fn::ColourStrobe, 0, 0},
                             {fn::R, 255, 0},
                             {fn::G, 255, 0},
                             {fn::B, 255, 0},
                             {fn::W, 255, 0}}),
        makeType(kSpotHead, {kPan,
                             kPanFine,
                             kTilt,
                             kTiltFine,
                             kSpeed,
                             {fn::ColourWheel, 0, 0},
                             {fn::Gobo, 0, 0},
                             {fn::RotatingGobo, 0, 0},
                             {fn::GoboRotation, 0, 0},
                             {fn::Prism, 0, 0},
                             {fn::Focus, 128, 128},
                             {fn::PatternDimmer, 255, 255},
                             {fn::Shutter, 255, 255}}),
        makeType(kLaser, {{fn::LaserDimmer, 255, 255},
                          {fn::LaserLibrary, 0, 0},
                          {fn::LaserPattern, 0, 0},
                          {fn::LaserRotation, 0, 0},
                          {fn::LaserZoom, 128, 128},
                          {fn::LaserMoveX, 128, 128},
                          {fn::LaserMoveY, 128, 128},
                          {fn::LaserDraw, 0, 0}}),
        makeType(kStrobe, {{fn::StrobeDimmer, 255, 0}, {fn::StrobeRate, 128, 0}}),
        // The preview never fires the smoke machine nor switches the relay.
        makeType(kSmoke, {{fn::Smoke, 0, 0}}),
        makeType(kRelay, {{fn::Relay, 0, 0}}),
    };
}

Fixture fixtureType(const QString& name) {
    for (const Fixture& t : fixtureTypes())
        if (t.name == name) return t;
    return {};
}

std::vector<RoomFixture> demonstrationRoom() {
    std::vector<RoomFixture> room;
    int address = 1;
    auto add = [&](int number, const QString& type) {
        room.push_back({number, type, address});
        address += fixtureType(type).channelCount;
    };
    for (int i = 0; i < kPars; ++i)
        add(kFirstPar + i, kDimmerPar);
    for (int i = 0; i < kHeads; ++i)
        add(kFirstWash + i, kWashHead);
    for (int i = 0; i < kHeads; ++i)
        add(kFirstSpot + i, kSpotHead);
    add(kLaserNumber, kLaser);
    add(kStrobeNumber, kStrobe);
    add(kSmokeNumber, kSmoke);
    add(kRelayNumber, kRelay);
    return room;
}

FixtureLibrary demonstrationLibrary() {
    FixtureLibrary lib;
    for (const RoomFixture& r : demonstrationRoom()) {
        Fixture& f = lib.at(0, r.number);
        f = fixtureType(r.type);
        f.startAddress = static_cast<std::int16_t>(r.address);
    }
    return lib;
}

}  // namespace kx::starter
