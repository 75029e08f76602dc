#include "shell/fader.h"

#include <algorithm>
#include <cmath>

namespace kx {

namespace {

// Positions are fractions of a twip; without this margin a knob placed for v can read v - 1.
constexpr double kReadBackMargin = 1e-6;

}  // namespace

double faderPositionOf(int value, int max, int trackHeight) {
    const int travel = trackHeight - kKnobHeightTwips;
    if (max <= 0 || travel <= 0) return 0;
    return static_cast<double>(max - value) * travel / max;
}

int faderValueOf(double pos, int max, int trackHeight) {
    const int travel = trackHeight - kKnobHeightTwips;
    if (max <= 0 || travel <= 0) return max > 0 ? max : 0;
    const double v = pos * max / travel;
    if (v > max) return 0;
    return static_cast<int>(std::floor(max - v + kReadBackMargin));
}

bool FaderModel::setValue(int value) {
    if (value < 0 || value > m_max) return false;
    m_pos = faderPositionOf(value, m_max, m_height);
    return true;
}

std::optional<int> FaderModel::press(double y) {
    m_dragging = true;
    m_dragStartY = y;
    if (y > m_pos && y < m_pos + kKnobHeightTwips) {
        m_dragStartPos = m_pos;
        return std::nullopt;
    }
    m_dragStartPos = y - kKnobHeightTwips / 2.0;
    return move(y);
}

std::optional<int> FaderModel::move(double y) {
    if (!m_dragging) return std::nullopt;
    const double bottom = travel();
    if (y < 0) {
        m_pos = 0;
    } else if (y > m_height - kKnobHeightTwips / 2.0) {
        m_pos = bottom;
    } else {
        // Clamped, so a quick drag past either end still lands the knob on that end.
        m_pos = std::clamp(m_dragStartPos + y - m_dragStartY, 0.0, bottom);
    }
    return value();
}

}  // namespace kx
