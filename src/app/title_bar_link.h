#pragma once

namespace kx {

class ControllerLink;
class TitleBarView;

// The title bar's link controls: the connect button toggles the connection and shows its state,
// the broadcast check sets the mode (which announces at once), the counters follow every datagram.
void connectTitleBarToLink(TitleBarView& bar, ControllerLink& link);

}  // namespace kx
