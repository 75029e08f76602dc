#pragma once

#include <QDateTime>
#include <cstdint>

namespace kx {

// The time as the program reads it.
class Clock {
  public:
    virtual ~Clock() = default;

    // Milliseconds since boot as a 32-bit counter that wraps; only differences are meaningful.
    virtual std::uint32_t milliseconds() = 0;
    virtual void sleep(int ms) = 0;
    virtual QDateTime localTime() = 0;
};

}  // namespace kx
