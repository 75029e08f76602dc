#pragma once

#include <array>
#include <cstdint>

namespace kx {

// The DMX output frame: index 0 carries no channel; channel ch of a fixture on port p (A-D = 0-3,
// VJ = 4) at start address a sits at p x 512 + a + ch - 1, so A-D fill 1-2048 and VJ 2049-2560.
inline constexpr int kDmxFrameSize = 6001;
using DmxFrame = std::array<std::uint8_t, kDmxFrameSize>;

}  // namespace kx
