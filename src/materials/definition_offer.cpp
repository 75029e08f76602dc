#include "materials/definition_offer.h"

#include <algorithm>

#include "fixtures/channel_owners.h"

namespace kx {

namespace {

// The channels a Material would have after taking the fixture's definitions.
int channelsTaken(const Material& m, const Fixture& f) {
    if (m.channelCount() > 0) return m.channelCount();
    return std::min<int>(f.channelCount, kMaxMaterialChannels);
}

bool definesAny(const Fixture& f, int channels) {
    const int n = std::min({channels, static_cast<int>(f.channelCount), kMaxFixtureChannels});
    return std::any_of(f.functions.begin(), f.functions.begin() + n,
                       [](std::uint8_t code) { return code != 0; });
}

}  // namespace

bool channelsAllEmpty(const Material& m) {
    for (int k = 1; k <= m.channelCount(); ++k)
        if (m.channelFunction(k) != 0) return false;
    return true;
}

std::optional<DefinitionOffer> definitionOffer(const Material& m, const FixtureLibrary& library) {
    if (!channelsAllEmpty(m)) return std::nullopt;
    for (int v = 1; v <= m.fixtureCount(); ++v) {
        for (int page = 0; page < libraryPages; ++page) {
            for (int n = 1; n <= kFixturesPerPage; ++n) {
                if (!m.isMapped(v, page, n) || !isPatched(library, page, n)) continue;
                const Fixture& f = library.at(page, n);
                const int channels = channelsTaken(m, f);
                if (definesAny(f, channels)) return DefinitionOffer{page, n, channels};
            }
        }
    }
    return std::nullopt;
}

void takeDefinitions(Material& m, const FixtureLibrary& library, const DefinitionOffer& offer) {
    const Fixture& f = library.at(offer.page, offer.number);
    m.setChannelCount(offer.channelCount);
    for (int k = 1; k <= offer.channelCount; ++k)
        m.setChannelFunction(k, k <= f.channelCount ? f.functions[k - 1] : 0);
}

QString offerFixtureText(const DefinitionOffer& offer, const FixtureLibrary& library) {
    return fixtureText(library, offer.page, offer.number);
}

}  // namespace kx
