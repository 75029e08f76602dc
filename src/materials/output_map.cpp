#include "materials/output_map.h"

#include <array>
#include <bit>

namespace kx {

std::span<const std::uint8_t> OutputMap::fixturesOf(int fixture) const {
    if (fixture < 1 || fixture > fixtureCount) return {};
    return std::span(fixtures).subspan(fixtureStart[fixture - 1],
                                       fixtureStart[fixture] - fixtureStart[fixture - 1]);
}

std::span<const std::uint16_t> OutputMap::channelsOf(int fixture, int channel) const {
    if (fixture < 1 || fixture > fixtureCount || channel < 1 || channel > channelCount) return {};
    const int pair = (fixture - 1) * channelCount + channel - 1;
    return std::span(dmxChannels).subspan(pairStart[pair], pairStart[pair + 1] - pairStart[pair]);
}

void compileOutputMap(const Material& m, const FixtureLibrary& lib, int page, OutputMap& out) {
    const int F = m.fixtureCount();
    const int C = m.channelCount();
    out.fixtureCount = F;
    out.channelCount = C;
    out.byteTotal = 0;
    out.fixtures.clear();
    out.dmxChannels.clear();
    out.fixtureStart.assign(F + 1, 0);
    out.pairStart.assign(static_cast<std::size_t>(F) * C + 1, 0);
    if (page < 0 || page >= kLibraryPageSlots) return;

    // Per fixture and Material channel, the fixture channels carrying the same function code (bit
    // i - 1 for channel i), computed once per fixture for all Virtual Fixtures.
    std::array<std::array<std::uint32_t, kMaxMaterialChannels>, kFixturesPerPage + 1> masks;
    std::array<bool, kFixturesPerPage + 1> known{};
    auto masksOf = [&](int number) -> const std::array<std::uint32_t, kMaxMaterialChannels>& {
        if (!known[number]) {
            const Fixture& fx = lib.at(page, number);
            const int n = std::min<int>(fx.channelCount, kMaxFixtureChannels);
            for (int k = 1; k <= C; ++k) {
                std::uint32_t bits = 0;
                const int code = m.channelFunction(k);
                if (code != 0 && fx.startAddress > 0)
                    for (int i = 0; i < n; ++i)
                        if (fx.functions[i] == code) bits |= 1u << i;
                masks[number][k - 1] = bits;
            }
            known[number] = true;
        }
        return masks[number];
    };

    // Pass 1 counts each pair's entries under both limits, in compile order.
    std::vector<int> counts(static_cast<std::size_t>(F) * C, 0);
    for (int v = 1; v <= F; ++v) {
        for (int f = 1; f <= kFixturesPerPage; ++f) {
            if (!m.isMapped(v, page, f) || !isPatched(lib, page, f)) continue;
            out.fixtures.push_back(static_cast<std::uint8_t>(f));
            const auto& mk = masksOf(f);
            for (int k = 1; k <= C; ++k) {
                int& count = counts[(v - 1) * C + k - 1];
                const int found = std::popcount(mk[k - 1]);
                const int room = std::min(kMaxChannelsPerPair - count,
                                          (kMaxAddressTableBytes - out.byteTotal) / 2);
                const int taken = std::min(found, room);
                count += taken;
                out.byteTotal += 2 * taken;
            }
        }
        out.fixtureStart[v] = static_cast<int>(out.fixtures.size());
    }
    for (std::size_t p = 0; p < counts.size(); ++p)
        out.pairStart[p + 1] = out.pairStart[p] + counts[p];

    // Pass 2 fills each pair's list up to its count, again in compile order.
    out.dmxChannels.resize(out.pairStart.back());
    std::vector<int> fill(out.pairStart.begin(), out.pairStart.end() - 1);
    for (int v = 1; v <= F; ++v) {
        for (const std::uint8_t f : out.fixturesOf(v)) {
            const Fixture& fx = lib.at(page, f);
            const int base = portOffset(fx) + fx.startAddress - 1;
            const auto& mk = masksOf(f);
            for (int k = 1; k <= C; ++k) {
                const int pair = (v - 1) * C + k - 1;
                for (std::uint32_t bits = mk[k - 1];
                     bits != 0 && fill[pair] < out.pairStart[pair + 1]; bits &= bits - 1)
                    out.dmxChannels[fill[pair]++] =
                        static_cast<std::uint16_t>(base + std::countr_zero(bits) + 1);
            }
        }
    }
}

OutputMap compileOutputMap(const Material& m, const FixtureLibrary& lib, int page) {
    OutputMap out;
    compileOutputMap(m, lib, page, out);
    return out;
}

void compilePageMaps(const Material& m, const FixtureLibrary& lib, PageMaps& maps) {
    for (int p = 0; p < libraryPages; ++p)
        compileOutputMap(m, lib, p, maps[p]);
}

}  // namespace kx
