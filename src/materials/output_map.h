#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "fixtures/fixture_library.h"
#include "materials/material.h"

namespace kx {

// The Controller keeps a pair's DMX channel count in one byte and a page's address table length
// in two: a compiled map never holds more. Entries past either limit are dropped in compile order
// (Virtual Fixture, then fixture number, Material channel and fixture channel), so the preview
// plays exactly what the files send.
inline constexpr int kMaxChannelsPerPair = 255;
inline constexpr int kMaxAddressTableBytes = 65535;

// The routing of one Material on one Library Page: for each Virtual Fixture the fixture numbers
// it drives, and for each (Virtual Fixture, Material channel) the absolute DMX channels that
// receive its value.
struct OutputMap {
    int fixtureCount = 0;
    int channelCount = 0;
    int byteTotal = 0;  // two bytes per DMX channel entry
    std::vector<std::uint8_t> fixtures;
    std::vector<int> fixtureStart;  // fixtureCount + 1 offsets into fixtures
    std::vector<std::uint16_t> dmxChannels;
    std::vector<int> pairStart;  // fixtureCount x channelCount + 1 offsets into dmxChannels

    std::span<const std::uint8_t> fixturesOf(int fixture) const;
    std::span<const std::uint16_t> channelsOf(int fixture, int channel) const;
};

// Compiles into out, reusing its storage.
void compileOutputMap(const Material& m, const FixtureLibrary& lib, int page, OutputMap& out);
OutputMap compileOutputMap(const Material& m, const FixtureLibrary& lib, int page);

// The compiled Output Maps of the pages in use.
using PageMaps = std::array<OutputMap, libraryPages>;
void compilePageMaps(const Material& m, const FixtureLibrary& lib, PageMaps& maps);

}  // namespace kx
