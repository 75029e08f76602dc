#pragma once

#include "base/clock.h"
#include "base/event_pump.h"

namespace kx {

// What a wait needs: the clock that says when it is over and the pump that keeps the program
// alive until then.
struct Waiter {
    Clock& clock;
    EventPump& pump;
};

}  // namespace kx
