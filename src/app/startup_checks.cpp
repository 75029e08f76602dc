#include "app/startup_checks.h"

namespace kx {

bool refuseSecondCopy(SingleInstance& instance, Prompter& prompter) {
    if (instance.acquire()) return false;
    prompter.message(kAlreadyRunning);
    return true;
}

}  // namespace kx
