#include "materials/output_map_cache.h"

namespace kx {

std::vector<RouteWrite> lastWritesOf(const PageMaps& maps) {
    const OutputMap& first = maps[0];
    const int pairs = first.fixtureCount * first.channelCount;
    // Pairs in routing order, each pair's page 0 channels before page 1's: the last one counts.
    std::vector<int> last(kDmxFrameSize, -1);
    std::vector<std::uint16_t> order;
    for (int pair = 0; pair < pairs; ++pair) {
        for (const OutputMap& map : maps) {
            for (int i = map.pairStart[pair]; i < map.pairStart[pair + 1]; ++i) {
                const int a = map.dmxChannels[i];
                if (a <= 0 || a >= kDmxFrameSize) continue;
                if (last[a] < 0) order.push_back(static_cast<std::uint16_t>(a));
                last[a] = pair;
            }
        }
    }
    std::vector<RouteWrite> writes;
    writes.reserve(order.size());
    for (const std::uint16_t a : order)
        writes.push_back({a, static_cast<std::uint16_t>(last[a])});
    return writes;
}

OutputMapCache::OutputMapCache() : m_patch(std::make_unique<Patch>()) {}

OutputMapCache::~OutputMapCache() = default;

void OutputMapCache::checkPatch(const FixtureLibrary& lib) {
    bool same = m_patchGeneration != 0;
    for (int p = 0; p < libraryPages; ++p) {
        for (int n = 1; n <= kFixturesPerPage; ++n) {
            const Fixture& f = lib.at(p, n);
            const PatchEntry now{f.startAddress, f.channelCount, f.port, f.functions};
            PatchEntry& known = (*m_patch)[p][n];
            if (known == now) continue;
            known = now;
            same = false;
        }
    }
    if (!same) ++m_patchGeneration;
}

OutputMapCache::SamePatch::SamePatch(OutputMapCache& cache, const FixtureLibrary& lib)
    : m_cache(cache) {
    m_cache.checkPatch(lib);
    m_cache.m_heldPatch = &lib;
}

OutputMapCache::SamePatch::~SamePatch() {
    m_cache.m_heldPatch = nullptr;
}

const CompiledRouting& OutputMapCache::routing(int number, const Material& m,
                                               const FixtureLibrary& lib) {
    if (&lib != m_heldPatch) checkPatch(lib);
    const bool banked = number >= 1 && number <= kMaterialsPerBank;
    if (banked && !m_entries[number]) m_entries[number] = std::make_unique<Entry>();
    Entry& e = banked ? *m_entries[number] : m_scratch;
    if (!banked || !e.compiled || e.stamp != m.routingStamp() ||
        e.patchGeneration != m_patchGeneration) {
        compilePageMaps(m, lib, e.routing.maps);
        e.routing.lastWrites = lastWritesOf(e.routing.maps);
        e.compiled = true;
        e.stamp = m.routingStamp();
        e.patchGeneration = m_patchGeneration;
        ++m_compilations;
    }
    return e.routing;
}

}  // namespace kx
