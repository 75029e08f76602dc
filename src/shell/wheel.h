#pragma once

#include <functional>
#include <map>
#include <utility>

#include "base/key_state.h"

namespace kx {

// Routes mouse-wheel notches and Up/Down arrow presses to the channel that last took the wheel
// focus. Each owner of wheel channels registers a range of targets: base + n is its channel n
// (the fixture library takes 1000 + n, the material editor 2000 + n). 0 is no target.
class WheelRouter {
  public:
    static constexpr int kRange = 1000;
    static constexpr int kNotch = 120;
    static constexpr int kVirtualKeyUp = 0x26;
    static constexpr int kVirtualKeyDown = 0x28;

    // The owner's Fun_鼠标滚轮触发 (direction 1 up, 0 down; channel).
    using StepHandler = std::function<void(int direction, int channel)>;
    void addTargets(int base, StepHandler step);

    // The process is shutting down: wheel notches are ignored.
    std::function<bool()> closing;

    int wheelTarget = 0;
    bool wheelDisabled = false;  // 禁止鼠标滚轮 = 1

    // True while a channel of a registered owner has the wheel focus: only then are wheel
    // messages the router's, and anything else (a list, a scroll area) scrolls as usual.
    bool wantsWheel() const;
    void stepTarget(int direction);
    // One wheel message with its delta: exactly one notch steps the target, anything else does
    // nothing.
    void onWheel(int delta);
    // Tier 3: the Up or Down arrow newly pressed since the previous poll of keys steps the target.
    void pollArrowKeys(KeyState& keys);

  private:
    // The owner's base and step handler for a target, none when no owner takes it.
    const std::pair<const int, StepHandler>* ownerOf(int target) const;

    std::map<int, StepHandler> m_owners;  // by base
};

}  // namespace kx
