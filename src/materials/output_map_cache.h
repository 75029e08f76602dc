#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "fixtures/fixture_library.h"
#include "materials/material.h"
#include "materials/output_map.h"

namespace kx {

// The Output Maps of the Materials of a bank, compiled once and kept until the Material's
// routing (counts, Channel Functions, Fixture Map: its routing stamp) or the Fixture Library's
// patch (addresses, channel counts, ports, Channel Functions of the pages in use) changes. A
// change is seen on the very next look-up, so every tick plays what the files would send.
class OutputMapCache {
  public:
    OutputMapCache();
    ~OutputMapCache();
    OutputMapCache(const OutputMapCache&) = delete;
    OutputMapCache& operator=(const OutputMapCache&) = delete;

    // The maps of Material Number n (1-240) as it is now. Any other number compiles afresh into
    // a scratch entry.
    const PageMaps& maps(int number, const Material& m, const FixtureLibrary& lib);
    // How many compilations the cache has run (for the benchmarks' and tests' eyes).
    std::uint64_t compilations() const { return m_compilations; }

  private:
    // What the maps read of one fixture.
    struct PatchEntry {
        std::int16_t startAddress = 0;
        std::uint8_t channelCount = 0;
        std::uint8_t port = 0;
        std::array<std::uint8_t, kMaxFixtureChannels> functions{};
        bool operator==(const PatchEntry&) const = default;
    };
    using Patch = std::array<std::array<PatchEntry, kFixturesPerPage + 1>, libraryPages>;

    struct Entry {
        bool compiled = false;
        std::uint64_t stamp = 0;
        std::uint64_t patchGeneration = 0;
        PageMaps maps;
    };

    // Compares the library with the patch the maps were compiled against; a difference starts a
    // new generation.
    void checkPatch(const FixtureLibrary& lib);

    std::array<std::unique_ptr<Entry>, kMaterialsPerBank + 1> m_entries;
    Entry m_scratch;
    std::unique_ptr<Patch> m_patch;
    std::uint64_t m_patchGeneration = 0;
    std::uint64_t m_compilations = 0;
};

}  // namespace kx
