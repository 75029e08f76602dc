#pragma once

#include <functional>

#include "base/key_state.h"

namespace kx {

// Routes mouse-wheel notches and Up/Down arrow presses to the channel that last took the wheel
// focus: 1000 + n is channel n of the fixture library, 2000 + n channel n of the material editor.
class WheelRouter {
  public:
    static constexpr int kLibraryBase = 1000;
    static constexpr int kMaterialBase = 2000;
    static constexpr int kNotch = 120;
    static constexpr int kVirtualKeyUp = 0x26;
    static constexpr int kVirtualKeyDown = 0x28;

    // The owners' Fun_鼠标滚轮触发 (direction 1 up, 0 down; channel).
    using StepHandler = std::function<void(int direction, int channel)>;
    StepHandler libraryStep;
    StepHandler materialStep;
    // The process is shutting down: wheel notches are ignored.
    std::function<bool()> closing;

    int wheelTarget = 0;
    bool wheelDisabled = false;  // 禁止鼠标滚轮 = 1

    void stepTarget(int direction);
    // One wheel message with its delta: exactly one notch steps the target, anything else does
    // nothing.
    void onWheel(int delta);
    // Tier 3: the Up or Down arrow newly pressed since the previous poll of keys steps the target.
    void pollArrowKeys(KeyState& keys);
};

}  // namespace kx
