#pragma once

#include <QString>
#include <cstdint>

namespace kx {

// The automatic simulated drum beat of the Effect editor and the test console: off, a beat every
// 0.5 s or every 1 s, counted in 100 ms output ticks.
struct AutoDrum {
    enum Mode : std::uint8_t { Off = 0, HalfSecond = 1, OneSecond = 2 };
    static constexpr int kHalfSecondTicks = 5;
    static constexpr int kOneSecondTicks = 10;

    Mode mode = Off;
    std::int32_t counter = 0;

    // The button: off -> 0.5 s -> 1 s -> off.
    void press() { mode = static_cast<Mode>((mode + 1) % 3); }
    // "自动停止", "自动0.5秒", "自动1秒".
    QString caption() const;
    // One output tick: true when a beat is due (the 5th or 10th tick after the last one).
    bool tick();
};

}  // namespace kx
