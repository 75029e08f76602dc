#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "fixtures/fixture_library.h"
#include "materials/material.h"
#include "materials/output_map.h"

namespace kx {

// One write of a routed grid: grid cell (Virtual Fixture - 1) x channels + channel - 1 into a
// DMX channel.
struct RouteWrite {
    std::uint16_t channel;
    std::uint16_t cell;
    bool operator==(const RouteWrite&) const = default;
};

// The compiled maps of a Material, and the last write its routing makes to each DMX channel: a
// whole grid written through these lands in the frame exactly as every write of the maps in
// order (a later write to a channel replaces an earlier one), in far fewer writes when Virtual
// Fixtures share fixtures.
struct CompiledRouting {
    PageMaps maps;
    std::vector<RouteWrite> lastWrites;
};
std::vector<RouteWrite> lastWritesOf(const PageMaps& maps);

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

    // The routing of Material Number n (1-240) as it is now. Any other number compiles afresh
    // into a scratch entry.
    const CompiledRouting& routing(int number, const Material& m, const FixtureLibrary& lib);
    // How many compilations the cache has run (for the benchmarks' and tests' eyes).
    std::uint64_t compilations() const { return m_compilations; }

    // While one frame is composed nothing edits the library: for the life of a SamePatch, one
    // look at that library's patch serves every Material the frame routes.
    class SamePatch {
      public:
        SamePatch(OutputMapCache& cache, const FixtureLibrary& lib);
        ~SamePatch();
        SamePatch(const SamePatch&) = delete;
        SamePatch& operator=(const SamePatch&) = delete;

      private:
        OutputMapCache& m_cache;
    };

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
        CompiledRouting routing;
    };

    // Compares the library with the patch the maps were compiled against; a difference starts a
    // new generation.
    void checkPatch(const FixtureLibrary& lib);

    std::array<std::unique_ptr<Entry>, kMaterialsPerBank + 1> m_entries;
    Entry m_scratch;
    std::unique_ptr<Patch> m_patch;
    const FixtureLibrary* m_heldPatch = nullptr;  // the library a SamePatch holds
    std::uint64_t m_patchGeneration = 0;
    std::uint64_t m_compilations = 0;
};

}  // namespace kx
