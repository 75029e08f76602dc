#pragma once

#include <QWidget>

#include "shell/wheel.h"

namespace kx {

// Installs the wheel listener on a window (unless the wheel is disabled) and clears the target:
// from then on every wheel message meant for the window or any control on it is consumed and a
// single notch steps the router's target, wherever the pointer is.
void hookWheel(QWidget* window, WheelRouter& router);

}  // namespace kx
