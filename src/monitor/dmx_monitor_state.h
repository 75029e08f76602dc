#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

#include "base/dmx_frame.h"
#include "fixtures/fixture_library.h"
#include "monitor/lamp_look.h"

namespace kx {

// The DMX monitor's rules: its caption, its pages, how a cell is shaded, and what a new frame or
// a new patch makes it draw again. The window draws from these.

inline const QString kMonitorTitle = QStringLiteral("DMX监视");
inline const QString kOfflinePreview = QStringLiteral("离线预览");

// "DMX监视" while the frames reach the Controller, "DMX监视 - 离线预览" otherwise.
QString monitorCaption(bool online);

// Top-left of the monitor's frame beside the main window's: to its right when the screen has the
// room, else to its left, else against the screen's right edge (over the main window); at the
// main window's top, kept on the screen. An empty screen rectangle means no screen is known.
QPoint besidePosition(QRect mainFrame, QSize monitorFrame, QRect screen);

// One page per port, 512 cells in 32 columns of 16 rows.
inline constexpr int kMonitorColumns = 32;
inline constexpr int kMonitorRows = 16;
int firstChannelOfPort(int port);

// A cell's colours: dark for 0 up to amber for 255, with a text colour that stays readable.
struct CellShade {
    Rgb back;
    Rgb text;
};
CellShade cellShade(int value);
inline constexpr Rgb kOverlapMark{230, 40, 40};
inline constexpr Rgb kOverrunMark{220, 60, 230};
inline constexpr Rgb kPatchedMark{80, 170, 255};

// Channels of the port whose value differs between the frame shown and the next one (appended
// to changed, which is cleared first).
void changedChannels(const DmxFrame& shown, const DmxFrame& next, int port,
                     std::vector<int>& changed);

// True when both libraries patch the same: names, ports, addresses, channel counts and Channel
// Functions of the pages in use (the stored values do not matter to the monitor).
bool samePatch(const FixtureLibrary& a, const FixtureLibrary& b);
bool sameNames(const ChannelFunctionNames& a, const ChannelFunctionNames& b);

// A lamp is drawn again when its look changed, and every tick while it flashes.
bool lampNeedsRedraw(const LampLook& shown, const LampLook& next);

}  // namespace kx
