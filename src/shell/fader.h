#pragma once

#include <optional>

namespace kx {

// A simulated vertical fader: a knob of 500 x 250 twips travelling down a track of height H
// twips. The top of the travel is the maximum value, the bottom 0.
inline constexpr int kKnobWidthTwips = 500;
inline constexpr int kKnobHeightTwips = 250;

// Knob top for a value: (max - value) x (H - 250) / max.
double faderPositionOf(int value, int max, int trackHeight);
// Value of a knob top: the integer part of max - pos / s (s twips per unit), 0 beyond the bottom.
// A knob placed for a value reads back that same value.
int faderValueOf(double pos, int max, int trackHeight);

// The knob and drag state of one fader. Positions and pointer y are in twips from the top of the
// track.
class FaderModel {
  public:
    void setMax(int max) { m_max = max; }
    int max() const { return m_max; }
    void setTrackHeight(int twips) { m_height = twips; }
    int trackHeight() const { return m_height; }
    double travel() const { return m_height > kKnobHeightTwips ? m_height - kKnobHeightTwips : 0; }

    // Places the knob for 0 <= value <= max; other values leave it where it is (false).
    bool setValue(int value);
    double position() const { return m_pos; }
    int value() const { return faderValueOf(m_pos, m_max, m_height); }
    bool dragging() const { return m_dragging; }

    // Left-button press at y: on the knob a drag starts; elsewhere the knob jumps to centre on
    // the pointer. Returns the value to report when the knob jumped.
    std::optional<int> press(double y);
    // Pointer moved to y during a drag: the new value to report; nothing when not dragging.
    std::optional<int> move(double y);
    void release() { m_dragging = false; }

  private:
    int m_max = 255;
    int m_height = kKnobHeightTwips;
    double m_pos = 0;
    bool m_dragging = false;
    double m_dragStartY = 0;
    double m_dragStartPos = 0;
};

}  // namespace kx
