#pragma once

#include <memory>

#include "materials/effect_image_store.h"
#include "materials/material.h"
#include "show/show.h"

namespace kx::bench {

// 200 fixtures of 32 channels, Channel Function k on channel k, spread over the five ports.
FixtureLibrary fullRoom();
// 40 Virtual Fixtures x 32 channels x `steps` Steps of changing values, fading, every Virtual
// Fixture driving five fixtures on each page (allFixtures: every fixture of page 0).
Material largeMaterial(int seed, int steps, bool allFixtures = false);
// The largest show the Show File holds: every Effect with both parts of 48 Bars x 8 Beats, 40
// Materials on every Beat; three Effects with a Material of 600 Steps x 40 x 32 values (one of
// them open, its image written through images); every Scene and remark set.
std::unique_ptr<Show> largestShow(EffectImageStore& images);

}  // namespace kx::bench
