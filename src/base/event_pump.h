#pragma once

namespace kx {

// Keeps the program alive while it waits: sockets, timers and painting go on; the user's input is
// not delivered, so no handler starts new work in the middle of a command.
class EventPump {
  public:
    virtual ~EventPump() = default;

    // Handles pending events; waits at most maxWaitMs for one to arrive.
    virtual void processEvents(int maxWaitMs = 0) = 0;
};

}  // namespace kx
