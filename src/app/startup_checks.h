#pragma once

#include "app/single_instance.h"
#include "base/prompter.h"

namespace kx {

inline constexpr char kAlreadyRunning[] = "程序已经打开，不能重复开启！";

// When another copy already runs: tells the user through prompter and returns true (the caller
// ends at once).
bool refuseSecondCopy(SingleInstance& instance, Prompter& prompter);

}  // namespace kx
