#include "shell/wheel.h"

#include "base/common.h"

namespace kx {

void WheelRouter::stepTarget(int direction) {
    if (wheelTarget >= kLibraryBase && wheelTarget < kLibraryBase + 1000) {
        if (libraryStep) libraryStep(direction, wheelTarget - kLibraryBase);
    } else if (wheelTarget >= kMaterialBase && wheelTarget < kMaterialBase + 1000) {
        if (materialStep) materialStep(direction, wheelTarget - kMaterialBase);
    }
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
