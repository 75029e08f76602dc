#pragma once

#include <QPixmap>
#include <array>

#include "base/paths.h"
#include "shell/appearance.h"

namespace kx {

// The pictures views copy from one place: view background, relay indicators, fader parts, logo,
// title bar and splash. Built-in pictures stand in for every picture file the appearance scheme
// does not supply; a picture file that is missing or unreadable is passed over.
struct PictureStore {
    static constexpr int kRelayCount = 9;

    QPixmap viewBackground;                     // Picture窗体背景图片
    QPixmap splash;                             // the splash view's picture
    QPixmap backgroundForViews;                 // what prepareView gives each view
    std::array<QPixmap, kRelayCount> relayOn;   // Image继电器开 (P3n)
    std::array<QPixmap, kRelayCount> relayOff;  // Image继电器关 (P2n)
    QPixmap faderTrack;                         // Picture推杆 (PT01)
    QPixmap faderKnob;                          // Picture推杆头子 (PT02)
    QPixmap faderKnobAdjust;                    // Picture推杆头子_调试值 (PT03)
    QPixmap logo;                               // Image_logo (P01)
    QPixmap titleBarBackground;                 // P02; null: the title bar's own colour

    static PictureStore load(const AppPaths& paths, const Appearance& appearance);
};

}  // namespace kx
