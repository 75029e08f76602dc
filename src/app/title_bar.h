#pragma once

#include <QPoint>
#include <QString>
#include <optional>

#include "app/caption.h"
#include "shell/appearance.h"

namespace kx {

// Colours and the logo of the title bar after the appearance settings.
struct TitleBarLook {
    static constexpr Bgr kButtonText = 0x00FFFF;
    static constexpr Bgr kButtonNormal = 0xB76E0E;
    static constexpr Bgr kButtonSelected = 0x6010BF;
    static constexpr Bgr kConnectOn = 0x6010AF;
    static constexpr Bgr kConnectOff = 0x808080;

    Bgr buttonText = kButtonText;
    Bgr buttonNormal = kButtonNormal;
    Bgr buttonSelected = kButtonSelected;
    Bgr connectOn = kConnectOn;
    Bgr connectOff = kConnectOff;
    // Left alone (the platform's colours) unless an appearance setting names them.
    std::optional<Bgr> connectText;
    std::optional<Bgr> relayBack;
    std::optional<Bgr> relayText;
    std::optional<Bgr> serialBack;  // the broadcast check box and the datagram counters
    std::optional<Bgr> serialText;
    bool logoVisible = false;
};

// loSet is WORK_SET's "LoSet": the logo shows only when it is 1 and the appearance does not hide
// it.
TitleBarLook titleBarLook(const Appearance& appearance, int loSet);

// Top-left of a pop-up of size (w, h) centred over the main window, in the coordinates of the
// view area below the title bar: ((W - w) / 2, (H - h) / 2 - title bar height), truncated.
QPoint centreOverMainPosition(int mainWidth, int mainHeight, int width, int height,
                              int titleBarHeight);

// The main window caption style this appearance asks for.
CaptionStyle captionStyle(const Appearance& appearance);

}  // namespace kx
