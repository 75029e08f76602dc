#pragma once

#include <cstdint>

namespace kx {

// The keyboard as the polls see it.
class KeyState {
  public:
    virtual ~KeyState() = default;

    // Key state word of a virtual-key code: bit 15 = down now, bit 0 = pressed since the
    // previous query of that key.
    virtual std::uint16_t asyncKeyState(int virtualKey) = 0;
};

}  // namespace kx
