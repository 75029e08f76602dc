#pragma once

#include <initializer_list>

#include "fixtures/fixture_library.h"

namespace kx::test {

// Patches fixture (page, number) with one Channel Function code per channel.
inline Fixture& patchFixture(FixtureLibrary& lib, int page, int number, int port, int address,
                             std::initializer_list<int> functions, const QString& name = {}) {
    Fixture& f = lib.at(page, number);
    f.name = name;
    f.port = static_cast<std::uint8_t>(port);
    f.startAddress = static_cast<std::int16_t>(address);
    f.channelCount = static_cast<std::uint8_t>(functions.size());
    int i = 0;
    for (int code : functions)
        f.functions[static_cast<std::size_t>(i++)] = static_cast<std::uint8_t>(code);
    return f;
}

// Channel Function codes by their fixed names.
namespace code {
constexpr int X = 1, Y = 2, XFine = 3, ColourDimmer = 10, ColourStrobe = 12, Shutter = 13,
              DimmerStrobe = 14, R = 20, G = 21, B = 22, W = 23, Wheel = 30, Smoke = 33,
              Unnamed = 16, Custom1 = 90;
}  // namespace code

}  // namespace kx::test
