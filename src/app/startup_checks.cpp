#include "app/startup_checks.h"

#include "base/platform.h"

namespace kx {

bool refuseSecondCopy(SingleInstance& instance) {
    if (instance.acquire()) return false;
    platform().message(kAlreadyRunning);
    return true;
}

}  // namespace kx
