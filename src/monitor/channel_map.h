#pragma once

#include <QString>
#include <vector>

#include "fixtures/fixture_editor_state.h"
#include "fixtures/fixture_library.h"

namespace kx {

// Which patched fixture channels land on each of the 2560 transmitted channels, for the
// monitor's cells. Built again whenever the patch changes, not on every tick.
struct ChannelOwner {
    int page = 0;
    int number = 0;
    int channel = 0;        // 1-based
    bool overruns = false;  // this channel lies past the end of the fixture's own port
    bool operator==(const ChannelOwner&) const = default;
};

inline constexpr int kMonitorPorts = 5;  // A, B, C, D, VJ

class ChannelMap {
  public:
    // owners(index) for index 1-2560; in page and number order, which is also the order the
    // library preview writes them (the last one's value is the one on the line).
    const std::vector<ChannelOwner>& owners(int index) const;
    bool overlaps(int index) const { return owners(index).size() > 1; }
    bool overruns(int index) const;
    bool patched(int index) const { return !owners(index).empty(); }

    static ChannelMap of(const FixtureLibrary& library);

  private:
    std::vector<std::vector<ChannelOwner>> m_owners;
};

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
