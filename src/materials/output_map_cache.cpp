#include "materials/output_map_cache.h"

namespace kx {

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

const PageMaps& OutputMapCache::maps(int number, const Material& m, const FixtureLibrary& lib) {
    checkPatch(lib);
    const bool banked = number >= 1 && number <= kMaterialsPerBank;
    if (banked && !m_entries[number]) m_entries[number] = std::make_unique<Entry>();
    Entry& e = banked ? *m_entries[number] : m_scratch;
    if (!banked || !e.compiled || e.stamp != m.routingStamp() ||
        e.patchGeneration != m_patchGeneration) {
        compilePageMaps(m, lib, e.maps);
        e.compiled = true;
        e.stamp = m.routingStamp();
        e.patchGeneration = m_patchGeneration;
        ++m_compilations;
    }
    return e.maps;
}

}  // namespace kx
