#include "shell/wheel.h"

#include "base/common.h"

namespace kx {

void WheelRouter::addTargets(int base, StepHandler step) {
    m_owners[base] = std::move(step);
}

const std::pair<const int, WheelRouter::StepHandler>* WheelRouter::ownerOf(int target) const {
    auto it = m_owners.upper_bound(target);
    if (it == m_owners.begin()) return nullptr;
    --it;
    if (target >= it->first + kRange || !it->second) return nullptr;
    return &*it;
}

bool WheelRouter::wantsWheel() const {
    return wheelTarget >= 1 && ownerOf(wheelTarget);
}

void WheelRouter::stepTarget(int direction) {
    if (wheelTarget < 1) return;
    if (const auto* owner = ownerOf(wheelTarget))
        owner->second(direction, wheelTarget - owner->first);
}

void WheelRouter::onWheel(int delta) {
    if (closing && closing()) return;
    if (delta == -kNotch) stepTarget(0);
    if (delta == kNotch) stepTarget(1);
}

void WheelRouter::pollArrowKeys(KeyState& keys) {
    if (wheelTarget < 1) return;
    const int key = Fun_FirstKeyDown(keys);
    if (key == kVirtualKeyUp) stepTarget(1);
    if (key == kVirtualKeyDown) stepTarget(0);
}

}  // namespace kx
