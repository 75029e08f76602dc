#include <QElapsedTimer>

#include "link/link_fixture.h"

namespace kx::test {
namespace {

constexpr int kStreamingView = 9;
constexpr int kOtherView = 6;

std::uint32_t monotonicMs() {
    QElapsedTimer t;
    t.start();
    return static_cast<std::uint32_t>(t.msecsSinceReference());
}

// Frame sets handed to their own thread: the Controller must see exactly what the interface
// thread used to send itself, in the same order against everything else on the socket.
class FrameThread : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        link->live().defineView(kStreamingView, {[this](DmxFrame& f) {
                                                     ++ticks;
                                                     f[0] = static_cast<std::uint8_t>(ticks);
                                                     f[600] = 0x5A;
                                                     f[2047] = static_cast<std::uint8_t>(2 * ticks);
                                                 },
                                                 true, false});
        // Every tick was due just now: its set leaves the lead later.
        link->sendFramesFromThread([] { return monotonicMs(); });
    }
    // The codes of the commands the Controller received, in order, from the n-th on.
    std::vector<int> codesFrom(std::size_t n) {
        std::vector<int> codes;
        for (std::size_t i = n; i < sim->records().size(); ++i)
            codes.push_back(static_cast<std::uint8_t>(sim->records()[i].body[0]));
        return codes;
    }
    int ticks = 0;
};

TEST_F(FrameThread, SetsCarryTheComposedBytesInOrderAndCommandsAfterATickFollowItsSet) {
    link->setView(kStreamingView);
    connectLink();
    const std::size_t start = sim->records().size();
    const int sentBefore = link->sendCount();
    for (int i = 0; i < 3; ++i) {
        link->outputTick();
        // Sent by the interface thread right after the tick composed the set.
        link->sendCommand(cmd::kControl, {sub::kSerialTest, kSerialTestOff});
    }
    ASSERT_TRUE(simReceived(static_cast<qint64>(start) + 12));
    platform.pumpFor(30);
    EXPECT_EQ(codesFrom(start), (std::vector<int>{0x6A, 0x6B, 0x6C, 0xCE, 0x6A, 0x6B, 0x6C, 0xCE,
                                                  0x6A, 0x6B, 0x6C, 0xCE}));
    EXPECT_EQ(link->sendCount() - sentBefore, 12);

    DmxFrame last{};
    last[0] = 3;
    last[600] = 0x5A;
    last[2047] = 6;
    std::array<std::uint8_t, kDmxPairArguments> ab;
    std::array<std::uint8_t, kDmxPairArguments> cd;
    std::array<std::uint8_t, kDmxVjArguments> vj;
    fillDmxPortsAB(last, ab);
    fillDmxPortsCD(last, cd);
    fillDmxPortVJ(last, 0, vj);
    auto bytes = [](std::span<const std::uint8_t> s) {
        return QByteArray(reinterpret_cast<const char*>(s.data()), static_cast<int>(s.size()));
    };
    EXPECT_EQ(sim->lastFrame(cmd::kDmxPortsAB), bytes(ab));
    EXPECT_EQ(sim->lastFrame(cmd::kDmxPortsCD), bytes(cd));
    EXPECT_EQ(sim->lastFrame(cmd::kDmxPortVJ), bytes(vj));
}

// A set still waiting for its moment when the sockets close (the shutdown, a socket error) goes
// out whole first: the thread never writes on a descriptor that was closed or given to another.
TEST_F(FrameThread, ClosingTheSocketsWaitsForTheSetsHandedOver) {
    link->setView(kStreamingView);
    connectLink();
    const std::size_t start = sim->records().size();
    link->outputTick();
    link->Fun_关闭_Sock();
    ASSERT_TRUE(simReceived(static_cast<qint64>(start) + 3));
    platform.pumpFor(30);
    EXPECT_EQ(codesFrom(start), (std::vector<int>{0x6A, 0x6B, 0x6C}));
}

// Sets asked for at once (a view came to the front, the VJ selection) leave at once, and the
// views that do not stream still send exactly the sets they ask for.
TEST_F(FrameThread, SetsAskedForAtOnceAndOnlyThoseLeaveForViewsThatDoNotStream) {
    link->live().defineView(kOtherView, {});
    link->setView(kOtherView);
    connectLink();
    const std::size_t start = sim->records().size();
    for (int i = 0; i < 4; ++i)
        link->outputTick();
    link->requestFrames(1);
    ASSERT_TRUE(simReceived(static_cast<qint64>(start) + 9));
    platform.pumpFor(50);
    EXPECT_EQ(codesFrom(start),
              (std::vector<int>{0x6A, 0x6B, 0x6C, 0x6A, 0x6B, 0x6C, 0x6A, 0x6B, 0x6C}));
}

}  // namespace
}  // namespace kx::test
