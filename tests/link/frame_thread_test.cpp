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
                                                     f[1] = static_cast<std::uint8_t>(ticks);
                                                     f[600] = 0x5A;
                                                     f[2047] = static_cast<std::uint8_t>(2 * ticks);
                                                 },
                                                 true, false});
        // Every tick was due just now (or lateMs ago): its set leaves the lead later.
        link->sendFramesFromThread([this] { return monotonicMs() - lateMs; });
    }
    // The codes of the commands the Controller received, in order, from the n-th on.
    std::vector<int> codesFrom(std::size_t n) {
        std::vector<int> codes;
        for (std::size_t i = n; i < sim->records().size(); ++i)
            codes.push_back(static_cast<std::uint8_t>(sim->records()[i].body[0]));
        return codes;
    }
    // The first byte of port A in each 0x6A the Controller received from the n-th on: the
    // number of the tick that composed it.
    std::vector<int> ticksFrom(std::size_t n) {
        std::vector<int> numbers;
        for (std::size_t i = n; i < sim->records().size(); ++i) {
            const QByteArray& body = sim->records()[i].body;
            if (static_cast<std::uint8_t>(body[0]) == cmd::kDmxPortsAB)
                numbers.push_back(static_cast<std::uint8_t>(body[1]));
        }
        return numbers;
    }
    // Connected, the streaming view in front, its first set received: the Controller's records
    // before that set.
    std::size_t firstSetReceived() {
        link->setView(kStreamingView);
        connectLink();
        const std::size_t start = sim->records().size();
        const qint64 before = sim->datagramCount();
        link->outputTick();
        EXPECT_TRUE(simReceived(before + 3));
        return start;
    }
    int ticks = 0;
    std::uint32_t lateMs = 0;
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
    last[1] = 3;
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

// The interface thread may be busy longer than a period (a long handler, a stalled paint): the
// streaming view's last set goes out again at every moment of the beat, whole and between the
// interface thread's own sends, until the next tick hands over a new one.
TEST_F(FrameThread, AStreamingViewsLastSetKeepsTheBeatWhileNoTickComes) {
    link->setView(kStreamingView);
    connectLink();
    const std::size_t start = sim->records().size();
    const qint64 datagramsBefore = sim->datagramCount();
    const int sentBefore = link->sendCount();
    link->outputTick();
    // Three periods without a tick, with a command of the interface thread's own in each.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(simReceived(datagramsBefore + 3 * (i + 1) + i));
        link->sendCommand(cmd::kControl, {sub::kSerialTest, kSerialTestOff});
    }
    ASSERT_TRUE(simReceived(datagramsBefore + 15));
    link->outputTick();
    ASSERT_TRUE(platform.pumpUntil([&] { return ticksFrom(start).back() == 2; }));
    const std::vector<int> codes = codesFrom(start);
    for (std::size_t i = 0; i + 2 < codes.size(); ++i) {
        if (codes[i] != 0x6A) continue;
        EXPECT_EQ(codes[i + 1], 0x6B);
        EXPECT_EQ(codes[i + 2], 0x6C);
    }
    const std::vector<int> numbers = ticksFrom(start);
    EXPECT_GE(numbers.size(), 5U);
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), 1),
              static_cast<std::ptrdiff_t>(numbers.size()) - 1);

    // The counters show every datagram that went out, the repeats too.
    link->endFrameBeat();
    platform.pumpFor(30);
    const qint64 received = sim->datagramCount();
    link->sendCommand(cmd::kControl, {sub::kSerialTest, kSerialTestOff});
    ASSERT_TRUE(simReceived(received + 1));
    platform.pumpFor(30);
    EXPECT_EQ(link->sendCount() - sentBefore, sim->datagramCount() - datagramsBefore);
}

// The beat ends where the live frames end: leaving for a view that does not stream, a
// disconnect, the sockets closing. Nothing follows on the wire.
TEST_F(FrameThread, TheBeatEndsWithTheViewTheConnectionAndTheSockets) {
    link->live().defineView(kOtherView, {});
    for (int end = 0; end < 3; ++end) {
        link->setView(kStreamingView);
        if (!link->connected()) connectLink();
        const qint64 before = sim->datagramCount();
        link->outputTick();
        ASSERT_TRUE(simReceived(before + 6));  // the set and one repeat
        const std::size_t start = sim->records().size();
        if (end == 0) {
            link->setView(kOtherView);
            link->outputTick();
            link->outputTick();
            link->outputTick();  // the two sets a view asks for when it comes to the front
        } else if (end == 1) {
            link->toggleConnection();
        } else {
            link->Fun_关闭_Sock();
        }
        platform.pumpFor(350);
        const std::vector<int> codes = codesFrom(start);
        const std::size_t sets =
            static_cast<std::size_t>(std::count(codes.begin(), codes.end(), 0x6A));
        EXPECT_EQ(sets, end == 0 ? 2U : 0U) << "end " << end;
        if (end == 1) {
            EXPECT_EQ(codes.back(), 0xC4);
        }
    }
}

// Another view that streams may take a while to show: the beat goes on with what the fixtures
// showed until that view's first tick takes it over.
TEST_F(FrameThread, TheBeatOutlastsAChangeToAnotherStreamingView) {
    constexpr int kSecondStreamingView = 8;
    link->live().defineView(kSecondStreamingView, {[](DmxFrame& f) { f[1] = 0xEE; }, true, false});
    const std::size_t start = firstSetReceived();
    link->setView(kSecondStreamingView);
    platform.pumpFor(350);
    link->outputTick();
    ASSERT_TRUE(platform.pumpUntil([&] { return ticksFrom(start).back() == 0xEE; }));
    link->endFrameBeat();
    const std::vector<int> numbers = ticksFrom(start);
    EXPECT_GE(std::count(numbers.begin(), numbers.end(), 1), 4);
}

// A set handed over before the beat ended still leaves, as a set of its own: no beat follows it.
TEST_F(FrameThread, ASetStillWaitingWhenTheBeatEndsStartsNoBeat) {
    link->setView(kStreamingView);
    connectLink();
    const std::size_t start = sim->records().size();
    link->outputTick();
    link->endFrameBeat();
    platform.pumpFor(350);
    EXPECT_EQ(ticksFrom(start), std::vector<int>{1});
}

// A tick so late that its moment went to a repeat takes the next moment, and a newer tick handed
// over before then goes instead: the fixtures show what the view shows now, at the beat.
TEST_F(FrameThread, ALateSetGivesWayToANewerOneAtTheNextMoment) {
    const std::size_t start = firstSetReceived();
    lateMs = 100;
    link->outputTick();
    lateMs = 0;
    link->outputTick();
    ASSERT_TRUE(platform.pumpUntil([&] { return ticksFrom(start).back() == 3; }));
    link->endFrameBeat();
    const std::vector<int> numbers = ticksFrom(start);
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), 2), 0);
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), 3), 1);
}

// A first set due long ago (the interface thread stalled before its tick) or a hair after the
// clock here starts the beat from now: no burst of repeats making up for the moments it missed,
// and nothing held up behind such a burst.
TEST_F(FrameThread, AFirstSetDueLongAgoOrJustAheadStartsTheBeatFromNow) {
    link->setView(kStreamingView);
    connectLink();
    for (const std::uint32_t late : {1000U, 0xFFFFFFFFU}) {
        lateMs = late;
        const std::size_t start = sim->records().size();
        link->outputTick();
        platform.pumpFor(250);
        link->Fun_关闭_Sock();
        const std::vector<int> numbers = ticksFrom(start);
        EXPECT_GE(numbers.size(), 2U) << late;
        EXPECT_LE(numbers.size(), 4U) << late;
    }
}

}  // namespace
}  // namespace kx::test
