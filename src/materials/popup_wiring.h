#pragma once

#include <QWidget>

#include "link/live_dmx.h"

namespace kx {

// A pop-up window that may stay open only over one view (the chase generator over the Material
// editor's static view): on every output tick in which another view is in front, it is hidden
// after that tick's composing. Duties already hooked to the tick keep running; a pop-up that has
// been deleted is left alone. Hidden, it needs no tick.
void hideOutsideView(LiveDmx& live, int view, QWidget* popup);

}  // namespace kx
