#pragma once

#include <QString>
#include <optional>

#include "fixtures/fixture_library.h"
#include "materials/material.h"

namespace kx {

// A Material whose channels are all "空" drives nothing: the output sends a Material channel to
// the fixture channels of the same Channel Function, and code 0 matches none. When its Virtual
// Fixtures are mapped onto library fixtures that have Channel Functions, the window offers to take
// the first such fixture's definitions (lowest Virtual Fixture, then page and number).

// Every channel 1..channelCount has code 0 (true for a Material without channels).
bool channelsAllEmpty(const Material& m);

struct DefinitionOffer {
    int page = 0;
    int number = 0;
    // The Material's channel count after taking them: its own, or the fixture's when it had none.
    int channelCount = 0;
};

// What taking the definitions would copy; nothing when a channel is already defined or no mapped,
// patched fixture has a Channel Function among the channels taken.
std::optional<DefinitionOffer> definitionOffer(const Material& m, const FixtureLibrary& library);

// Channels 1..offer.channelCount take the fixture's codes (0 past its own channels).
void takeDefinitions(Material& m, const FixtureLibrary& library, const DefinitionOffer& offer);

// "灯具 3 [RGB帕灯]" ("页2 灯具 3 ..." on the second page): which fixture an offer takes from.
QString offerFixtureText(const DefinitionOffer& offer, const FixtureLibrary& library);

}  // namespace kx
