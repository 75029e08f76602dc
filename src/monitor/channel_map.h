#pragma once

#include <QString>
#include <vector>

#include "fixtures/channel_owners.h"
#include "fixtures/fixture_editor_state.h"
#include "fixtures/fixture_library.h"

namespace kx {

inline constexpr int kMonitorPorts = 5;  // A, B, C, D, VJ

// "A-12", "VJ-512": the port and address of a transmitted channel.
QString channelLabel(int index);
// 0-4 for the port of a transmitted channel, and its address 1-512 there (portName names it).
int portOfChannel(int index);
int addressOfChannel(int index);

// What hovering or clicking a cell says: its label, then each patched fixture channel on it
// ("A-12  灯具 3 [摇头灯] 通道 5 R"); pages other than the first name their page
// ("页2 灯具 3 ..."); an unnamed Channel Function shows its code; overlaps and overruns are named.
QString describeChannel(int index, const ChannelMap& map, const FixtureLibrary& library,
                        const ChannelFunctionNames& names);

}  // namespace kx
