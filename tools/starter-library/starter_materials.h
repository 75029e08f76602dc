#pragma once

#include <vector>

#include "starter_kit.h"

namespace kx::starter {

// The standard library (标准素材), at least three Materials in each of the eight categories,
// mapped onto the demonstration room.
std::vector<StarterMaterial> starterMaterials();

// The colour and white Materials for pars (舞曲-RGB, 舞曲-开光, 唱歌-RGB, 唱歌-开光).
void addParMaterials(std::vector<StarterMaterial>& out);
// The moving-head, colour-wheel and gobo Materials and those of the special devices (舞曲-动作,
// 唱歌-动作, 色盘+图案, 自定义).
void addHeadAndDeviceMaterials(std::vector<StarterMaterial>& out);

}  // namespace kx::starter
