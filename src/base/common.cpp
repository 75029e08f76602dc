#include "base/common.h"

#include <cstdlib>

namespace kx {

void Fun_Wait(const Waiter& waiter, int ms) {
    const std::uint32_t start = waiter.clock.milliseconds();
    for (;;) {
        const std::uint32_t elapsed = waiter.clock.milliseconds() - start;
        if (elapsed > static_cast<std::uint32_t>(ms < 0 ? 0 : ms)) return;
        // Waiting for events instead of spinning keeps the interface just as responsive.
        waiter.pump.processEvents(static_cast<int>(static_cast<std::uint32_t>(ms) - elapsed) + 1);
    }
}

QString Fun_Timestamp(Clock& clock) {
    return "[" + clock.localTime().toString("yyMMdd-HHmmss") + "]";
}

bool Fun_BitTest(std::int32_t value, int bit) {
    return (value >> bit) & 1;
}

std::int32_t Fun_BitSet(std::int32_t value, int bit) {
    return value | (std::int32_t{1} << bit);
}

void Fun_Toggle01(int& value) {
    value = value == 1 ? 0 : 1;
}

bool Fun_ContainsNoCase(const QString& a, const QString& b) {
    return a.toUpper().contains(b.toUpper());
}

int Fun_FirstKeyDown(KeyState& keys) {
    for (int key = 1; key <= 250; ++key) {
        if (keys.asyncKeyState(key) == 0x8001) return key;
    }
    return 0;
}

int Fun_StepValue(int a, int b, int r, int s) {
    if (a == b || s <= 0) return a;
    // |b - a| * r / s to one decimal, halves away from zero, then the decimal dropped; in
    // integers so that exact halves never fall on the wrong side.
    const std::int64_t num = std::int64_t{std::abs(b - a)} * r * 10;
    const std::int64_t tenths = num >= 0 ? (2 * num + s) / (2 * s) : -((-2 * num + s) / (2 * s));
    const int whole = static_cast<int>(tenths / 10);
    return b > a ? a + whole : a - whole;
}

int Fun_ZeroRunEncode(std::span<const std::uint8_t> src, std::span<std::uint8_t> dst) {
    const int n = static_cast<int>(src.size());
    if (n == 0) return 0;
    int out = 0;
    int open = -1;  // position of the count byte of the zero run being extended
    for (int i = 0; i + 1 < n; ++i) {
        const std::uint8_t b = src[i];
        if (b == 254) {
            dst[out] = 254;
            dst[out + 1] = 255;
            out += 2;
            open = -1;
        } else if (b == 0 && (open >= 0 || src[i + 1] == 0)) {
            if (open < 0) {
                dst[out] = 254;
                dst[out + 1] = 0;
                open = out + 1;
                out += 2;
            }
            if (++dst[open] == 250) open = -1;
        } else {
            dst[out++] = b;
            open = -1;
        }
    }
    dst[out] = src[n - 1];
    return out + 1;
}

QString Fun_TextToHex(const QString& text) {
    QString hex;
    hex.reserve(text.size() * 4);
    for (QChar c : text)
        hex += QString::number(c.unicode(), 16).toUpper().rightJustified(4, '0');
    return hex;
}

QString Fun_HexToText(const QString& hex) {
    QString text;
    for (qsizetype i = 0; i + 4 <= hex.size(); i += 4) {
        text += QChar(static_cast<char16_t>(hex.mid(i, 4).toUShort(nullptr, 16)));
    }
    return text;
}

}  // namespace kx
