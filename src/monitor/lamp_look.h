#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "base/dmx_frame.h"
#include "fixtures/channel_owners.h"
#include "fixtures/fixture_library.h"

namespace kx {

// What a channel does for the lamp drawn for its fixture, read from its Channel Function's name
// (the codes carry no meaning of their own; renamed custom functions count by their new name).
enum class ChannelRole {
    None,  // "空" or an unnamed code: the channel is left out
    Red,
    Green,
    Blue,
    White,
    Amber,
    Dimmer,
    Strobe,
    ColourWheel,
    Pan,
    PanFine,
    Tilt,
    TiltFine,
    Other,  // named, not light or movement: smoke, relay, gobo, speed ...
};

ChannelRole channelRole(const QString& functionName);

// The role of every Channel Function code, worked out once per set of names.
using ChannelRoles = std::array<ChannelRole, kChannelFunctionCount>;
ChannelRoles channelRoles(const ChannelFunctionNames& names);

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

// A strobe channel at either end (closed, or open) is steady; in between it flashes.
inline constexpr int kStrobeFirstFlashing = 10;
inline constexpr int kStrobeLastFlashing = 250;

// The colour wheel's slots as the usual wheel lays them out: eight colours of 16 values each
// from 0, rotation ("流水") from 128.
inline constexpr int kWheelSlotWidth = 16;
inline constexpr int kWheelRotationFrom = 128;
struct WheelColour {
    QString name;
    Rgb colour;
};
WheelColour wheelColour(int value);

// How one patched fixture looks in the fixture view for one frame.
struct LampLook {
    int page = 0;
    int number = 0;
    bool lit = false;      // dark: no light (all channels 0, or its colour mixes to black)
    Rgb colour;            // the light, already scaled by its dimmer
    int strobe = 0;        // 0 steady; otherwise the strobe channel's value (flashing)
    QString wheel;         // the colour wheel's named colour; "" without a wheel
    bool hasBeam = false;  // a moving head: pan and tilt below are its beam direction
    double pan = 0.5;      // 0-1 over the pan range (coarse and fine channel)
    double tilt = 0.5;
    bool overlaps = false;  // one of its channels is also another patched fixture's
    bool overruns = false;  // its channels run past the end of its 512-channel port
    bool operator==(const LampLook&) const = default;
};

// The value a fixture's channel has on the lines: the frame's, for the 2560 transmitted channels;
// 0 for a channel that falls outside them (it never reaches a fixture).
int transmittedValue(const DmxFrame& frame, int index);

// One fixture's lamp: the red, green, blue, white and amber channels mix its colour (white and
// amber add), a colour wheel without them gives its named colour, without either the light is
// white; the brightest dimmer scales it. A fixture with no light channel at all shows its
// brightest named channel as white light. Pan and tilt make a beam. overlaps and overruns are
// left false (they need the whole library).
LampLook lampLook(const Fixture& fixture, const DmxFrame& frame, const ChannelRoles& roles);

// The lamp of every patched fixture of the pages in use, by page and number, with overlaps and
// overruns marked. This is all the fixture view draws.
std::vector<LampLook> lampLooks(const FixtureLibrary& library, const DmxFrame& frame,
                                const ChannelFunctionNames& names);
std::vector<LampLook> lampLooks(const FixtureLibrary& library, const DmxFrame& frame,
                                const ChannelRoles& roles);

// True when a channel of the fixture lies past the end of its own port.
bool runsPastPort(const Fixture& fixture);

}  // namespace kx
