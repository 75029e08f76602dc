#pragma once

namespace kx {

// Keeps the program alive while it waits: sockets, timers and painting go on; the user's input is
// held, in order, and delivered once the wait is over, so no handler starts new work in the
// middle of a command and nothing the user typed or clicked is lost.
class EventPump {
  public:
    virtual ~EventPump() = default;

    // Handles pending events other than the user's input; waits at most maxWaitMs for one.
    virtual void processEvents(int maxWaitMs = 0) = 0;
    // Holds the user's input until the matching release, also between the waits of an operation
    // that runs through several of them with the controls that would interrupt it disabled.
    virtual void holdInput() {}
    // Ends a hold. The outermost release, outside any wait, delivers what was held while the
    // caller's controls are still disabled: a click on one of them does nothing, as it looked.
    virtual void releaseInput() {}
};

}  // namespace kx
