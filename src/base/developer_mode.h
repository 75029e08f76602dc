#pragma once

#include "base/paths.h"

namespace kx {

// Developer functions: on from 开发模式.INI, or switched on for this run from the upgrade window.
struct DeveloperMode {
    bool on = false;
    bool wheelDisabled = false;  // "禁止鼠标滚轮" = 1
};

// Reads the developer settings at start-up. When the last run was in developer mode and this one
// is not, the remembered firmware path is forgotten; then the current state is remembered.
DeveloperMode evaluateDeveloperMode(const AppPaths& paths);

}  // namespace kx
