#include "base/auto_drum.h"

namespace kx {

QString AutoDrum::caption() const {
    switch (mode) {
        case HalfSecond:
            return "自动0.5秒";
        case OneSecond:
            return "自动1秒";
        default:
            return "自动停止";
    }
}

bool AutoDrum::tick() {
    if (mode == Off) return false;
    ++counter;
    if (counter <= (mode == HalfSecond ? kHalfSecondTicks : kOneSecondTicks)) return false;
    counter = 1;
    return true;
}

}  // namespace kx
