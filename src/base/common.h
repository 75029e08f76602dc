#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <span>

#include "base/clock.h"
#include "base/key_state.h"
#include "base/waiter.h"

namespace kx {

// Returns once more than n ms have passed, handling interface events all the while.
void Fun_Wait(const Waiter& waiter, int ms);

// "[YYMMDD-hhmmss]" of local time.
QString Fun_Timestamp(Clock& clock);

// Bits 0-30 of a 32-bit value.
bool Fun_BitTest(std::int32_t value, int bit);
std::int32_t Fun_BitSet(std::int32_t value, int bit);
// 1 becomes 0; any other value becomes 1.
void Fun_Toggle01(int& value);

// True when b occurs in a, ignoring letter case.
bool Fun_ContainsNoCase(const QString& a, const QString& b);

// The first virtual-key code 1-250 that is down and was pressed since the previous poll; 0 when
// none.
int Fun_FirstKeyDown(KeyState& keys);

// Level at step r of s of a fade from a to b; the distance is rounded to one decimal (halves away
// from zero) and then truncated, so 2.94 gives 2 and 2.96 gives 3.
int Fun_StepValue(int a, int b, int r, int s);

// Zero-run code of the transfer blocks: 254 255 is a literal 254, 254 k (k = 1..250) is k zero
// bytes, and the last byte is always literal. Writes into dst (which must hold at least
// zeroRunBound(src.size()) bytes) and returns the encoded length; 0 for empty input.
int Fun_ZeroRunEncode(std::span<const std::uint8_t> src, std::span<std::uint8_t> dst);
// The longest encoding of n bytes (every byte a literal 254).
constexpr int zeroRunBound(int n) {
    return 2 * n;
}

// Four upper-case hex digits per UTF-16 code unit, and back. HexToText ignores a trailing
// partial group and treats a non-hex group as 0.
QString Fun_TextToHex(const QString& text);
QString Fun_HexToText(const QString& hex);

}  // namespace kx
