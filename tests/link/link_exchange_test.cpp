#include <QUdpSocket>

#include "editor/editor_table.h"
#include "link/link_fixture.h"

namespace kx::test {
namespace {

QByteArray body(const kxsim::SimRecord& r) {
    return r.body;
}

// Views as the program numbers them; the link only knows what each one's output does.
using namespace live_view;

class LinkExchange : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        for (int v : {kSceneEditor, kFixtureLibrary, kMaterialStatic, kMaterialRun, kEffectEditor})
            stream(v);
        LiveDmx::ViewOutput console;
        console.keepsSerialTest = true;
        link->live().defineView(kTestConsole, console);
    }
    void stream(int view, LiveDmx::Composer compose = {}) {
        link->live().defineView(view, {std::move(compose), true, false});
    }
};

TEST_F(LinkExchange, ConnectAndDisconnect) {
    std::vector<bool> connection, busy;
    QObject::connect(link.get(), &ControllerLink::connectionChanged,
                     [&](bool c) { connection.push_back(c); });
    QObject::connect(link.get(), &ControllerLink::busyChanged, [&](bool b) { busy.push_back(b); });
    EXPECT_FALSE(link->connected());

    connectLink();
    EXPECT_TRUE(link->connected());
    ASSERT_EQ(sim->commandCount(cmd::kConnect), 1);
    EXPECT_EQ(body(sim->commands(cmd::kConnect)[0]),
              bytesOf({0xC0, 0x00}));  // connect, normal mode
    EXPECT_TRUE(sim->online());
    EXPECT_EQ(link->counterText(), "S:0001   G:0001");
    EXPECT_EQ(connection, std::vector<bool>{true});
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));  // disabled during the wait, enabled after

    link->toggleConnection();
    EXPECT_FALSE(link->connected());
    ASSERT_TRUE(platform.pumpUntil([&] { return !sim->online(); }));
    EXPECT_EQ(body(sim->commands(cmd::kDisconnect)[0]), bytesOf({0xC4}));
    EXPECT_EQ(link->counterText(), "S:0002   G:0001");
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(LinkExchange, NoAnswerLeavesTheLinkDisconnectedSilently) {
    sim->faults().dropCodes = {cmd::kConnect};
    link->toggleConnection();
    EXPECT_FALSE(link->connected());
    EXPECT_FALSE(link->busy());
    EXPECT_EQ(sim->commandCount(cmd::kConnect), 1);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(LinkExchange, BroadcastModeAnnouncesAndConnectsThroughItsOwnSocket) {
    link->setBroadcastMode(true);
    ASSERT_TRUE(simReceived(1));
    EXPECT_EQ(body(sim->commands(cmd::kControl, sub::kAnnounce)[0]), bytesOf({0xCE, 0x13, 0x89}));

    connectLink();
    const auto connects = sim->commands(cmd::kConnect);
    EXPECT_EQ(body(connects[0]), bytesOf({0xC0, 0x89}));
    EXPECT_EQ(connects[0].port, broadcastSocketPort());
    EXPECT_EQ(commandSocketPort(), 0);  // never used in broadcast mode

    // Ticking the box while connected announces too.
    link->setBroadcastMode(false);
    ASSERT_TRUE(simReceived(3));
    const auto announces = sim->commands(cmd::kControl, sub::kAnnounce);
    ASSERT_EQ(announces.size(), 2u);
    EXPECT_EQ(body(announces[1]), bytesOf({0xCE, 0x13, 0x00}));
    EXPECT_EQ(announces[1].port, commandSocketPort());
}

TEST_F(LinkExchange, RepliesAreTakenOnlyOnTheSocketOfTheMode) {
    std::vector<int> seen;
    link->addReplyHandler(
        [&](std::uint8_t, std::span<const std::uint8_t> data) { seen.push_back(data[1]); });
    link->setBroadcastMode(true);   // opens the broadcast socket
    link->setBroadcastMode(false);  // opens the command socket
    ASSERT_TRUE(simReceived(2));
    const QHostAddress lo(QHostAddress::LocalHost);
    const auto version = [](int tag) { return bytesOf({0xCE, 0x21, tag}); };

    for (bool broadcast : {false, true}) {
        link->setBroadcastMode(broadcast);
        seen.clear();
        const int before = link->receiveCount();
        const int wrong = broadcast ? commandSocketPort() : broadcastSocketPort();
        const int right = broadcast ? broadcastSocketPort() : commandSocketPort();
        sim->sendReplyTo(lo, static_cast<quint16>(wrong), version(1));
        sim->sendReplyTo(lo, static_cast<quint16>(right), version(2));
        ASSERT_TRUE(platform.pumpUntil([&] { return !seen.empty(); }));
        platform.pumpFor(30);
        EXPECT_EQ(seen, std::vector<int>{2}) << "broadcast " << broadcast;
        EXPECT_EQ(link->receiveCount(), before + 1);
    }
}

TEST_F(LinkExchange, SendCounterWrapsAfter9999) {
    for (int i = 0; i < 9999; ++i)
        link->sendAnnounce();
    EXPECT_EQ(link->counterText(), "S:9999   G:0000");
    QStringList counters;
    QObject::connect(link.get(), &ControllerLink::countersChanged,
                     [&](const QString& t) { counters << t; });
    link->sendAnnounce();
    EXPECT_EQ(link->counterText(), "S:0001   G:0000");
    EXPECT_EQ(counters, QStringList{"S:0001   G:0000"});
    // Too long: not sent.
    EXPECT_FALSE(link->sendCommand(cmd::kControl, std::vector<std::uint8_t>(kMaxArguments + 1)));
    EXPECT_EQ(link->sendCount(), 1);
}

TEST_F(LinkExchange, PrivatePortAnswersKeepAliveAndShowsDiagnosticsOnlyToAnOpenConsole) {
    QStringList lines;
    link->setDiagnosticSink([&](const QString& line) { lines << line; });
    sim->sendKeepAliveProbe();
    ASSERT_TRUE(platform.pumpUntil([&] { return sim->keepAliveAnswers() == 1; }));
    const auto answer = sim->records().back();
    EXPECT_EQ(answer.class1, 0xCA);  // keep-alive answer
    EXPECT_EQ(answer.class2, 0x02);
    EXPECT_TRUE(answer.body.isEmpty());                 // 7 bytes in all
    EXPECT_EQ(link->counterText(), "S:0001   G:0000");  // the private port counts nothing

    sim->sendDiagnostic(bytesOf({0x01, 0x0A}));
    platform.pumpFor(30);
    EXPECT_TRUE(lines.isEmpty());
    link->setDeveloperLogOpen(true);
    sim->sendDiagnostic(bytesOf({0x01, 0x0A}));
    ASSERT_TRUE(platform.pumpUntil([&] { return !lines.isEmpty(); }));
    EXPECT_EQ(lines, QStringList{"010A"});
}

TEST_F(LinkExchange, AnnounceTickOnlyWhileDisconnectedAndConsoleClosed) {
    link->announceTick();
    ASSERT_TRUE(simReceived(1));
    EXPECT_EQ(body(sim->records()[0]), bytesOf({0xCE, 0x13, 0x00}));
    link->setDeveloperLogOpen(true);
    link->announceTick();
    link->setDeveloperLogOpen(false);
    connectLink();
    link->announceTick();
    platform.pumpFor(30);
    EXPECT_EQ(sim->commandCount(cmd::kControl, sub::kAnnounce), 1);
}

TEST_F(LinkExchange, ReleaseAtShutdownSendsThreeDisconnectsThenNothing) {
    link->setView(kEffectEditor);
    connectLink();
    const qint64 before = sim->datagramCount();
    link->releaseOnlineMode();
    EXPECT_FALSE(link->connected());
    link->outputTick();
    link->announceTick();
    link->Fun_关闭_Sock();
    ASSERT_TRUE(simReceived(before + 3));
    platform.pumpFor(30);
    EXPECT_EQ(sim->datagramCount(), before + 3);
    EXPECT_EQ(sim->commandCount(cmd::kDisconnect), 3);
    for (auto* s : {&link->socket(ControllerLink::Endpoint::Command),
                    &link->socket(ControllerLink::Endpoint::Broadcast),
                    &link->socket(ControllerLink::Endpoint::Private)}) {
        EXPECT_EQ(s->state(), V21__CSocketMaster::sckClosed);
    }
}

TEST_F(LinkExchange, ReleaseWhileDisconnectedSendsNothing) {
    link->releaseOnlineMode();
    link->toggleConnection();  // the tool is leaving: no new connection
    platform.pumpFor(30);
    EXPECT_EQ(sim->datagramCount(), 0);
}

TEST_F(LinkExchange, ShutdownDuringTheConnectWaitLetsTheAnsweringControllerGo) {
    sim->faults().delayMs = 100;
    QTimer::singleShot(20, [&] { link->releaseOnlineMode(); });
    link->toggleConnection();
    EXPECT_FALSE(link->connected());
    ASSERT_TRUE(platform.pumpUntil([&] { return sim->commandCount(cmd::kDisconnect) == 3; }));
    EXPECT_FALSE(sim->online());
}

TEST_F(LinkExchange, StreamingViewsSendEveryTickOthersExactlyTwoSets) {
    int tick = 0;
    stream(kEffectEditor, [&](DmxFrame& f) { f[1] = static_cast<std::uint8_t>(++tick); });
    link->setView(kRoomControl);
    connectLink();
    for (int i = 0; i < 5; ++i)
        link->outputTick();
    ASSERT_TRUE(platform.pumpUntil([&] { return sim->frameTimesNs(cmd::kDmxPortVJ).size() >= 2; }));
    platform.pumpFor(30);
    EXPECT_EQ(sim->frameTimesNs(cmd::kDmxPortsAB).size(), 2u);
    EXPECT_EQ(sim->frameTimesNs(cmd::kDmxPortsCD).size(), 2u);
    EXPECT_EQ(sim->frameTimesNs(cmd::kDmxPortVJ).size(), 2u);

    link->setView(kEffectEditor);
    for (int i = 0; i < 5; ++i)
        link->outputTick();
    ASSERT_TRUE(platform.pumpUntil([&] { return sim->frameTimesNs(cmd::kDmxPortVJ).size() >= 7; }));
    EXPECT_EQ(sim->frameTimesNs(cmd::kDmxPortsAB).size(), 7u);
    EXPECT_EQ(sim->lastFrame(cmd::kDmxPortsAB)[0], 5);  // the composer's last tick
    EXPECT_EQ(sim->lastFrame(cmd::kDmxPortsAB).size(), 1024);
    EXPECT_EQ(sim->lastFrame(cmd::kDmxPortVJ).size(), 600);
}

TEST_F(LinkExchange, FramesWaitForAConnection) {
    link->setView(kFixtureLibrary);
    for (int i = 0; i < 3; ++i)
        link->outputTick();
    EXPECT_EQ(link->live().pendingFrames(), 1);
    platform.pumpFor(30);
    EXPECT_EQ(sim->frameTimesNs(cmd::kDmxPortsAB).size(), 0u);
}

TEST_F(LinkExchange, ViewChangesSwitchTheSerialTestOffAwayFromTheConsole) {
    link->setView(kTestConsole);
    link->setView(kSceneEditor);
    ASSERT_TRUE(simReceived(1));
    platform.pumpFor(30);
    ASSERT_EQ(sim->datagramCount(), 1);
    EXPECT_EQ(body(sim->records()[0]), bytesOf({0xCE, 0x19, 0x44}));
}

TEST_F(LinkExchange, VjSelectionSendsAFrameSetAtOnceWithTheNewIndex) {
    link->setView(kRoomControl);
    connectLink();
    link->live().setVjServer(2);
    link->requestFrames(100);
    ASSERT_TRUE(platform.pumpUntil([&] { return sim->frameTimesNs(cmd::kDmxPortVJ).size() == 1; }));
    EXPECT_EQ(static_cast<std::uint8_t>(sim->lastFrame(cmd::kDmxPortVJ)[532]), 2);
    EXPECT_EQ(link->live().pendingFrames(), 100);
}

TEST_F(LinkExchange, EveryTickTellsWhoseOutputItWasAndShowsTheOneTickRequestOnce) {
    std::vector<int> fronts;
    link->live().addTickObserver([&](int view, const DmxFrame&) { fronts.push_back(view); });
    link->setView(kMaterialStatic);
    link->outputTick();
    link->setView(kMaterialRun);
    link->outputTick();
    EXPECT_EQ(fronts, (std::vector<int>{kMaterialStatic, kMaterialRun}));
    // The one-tick request is visible (as 2) to exactly one tick.
    int seenFlag = -1;
    stream(kMaterialRun, [&](DmxFrame&) { seenFlag = link->live().oneTickRequest(); });
    link->live().oneTickRequest() = 1;
    link->outputTick();
    EXPECT_EQ(seenFlag, 2);
    EXPECT_EQ(link->live().oneTickRequest(), 0);
}

TEST_F(LinkExchange, TickObserversSeeTheComposedFrameAndMayLeaveInsideATick) {
    stream(kEffectEditor, [](DmxFrame& f) { f[2560] = 9; });
    link->setView(kEffectEditor);
    std::vector<int> seen;
    int second = 0;
    const int first = link->live().addTickObserver([&](int, const DmxFrame& f) {
        seen.push_back(f[2560]);
        link->live().removeTickObserver(second);
    });
    second = link->live().addTickObserver([&](int, const DmxFrame&) { seen.push_back(-1); });
    EXPECT_EQ(link->live().tickObserverCount(), 2u);
    link->outputTick();
    EXPECT_EQ(seen, (std::vector<int>{9}));
    EXPECT_EQ(link->live().tickObserverCount(), 1u);
    link->live().removeTickObserver(first);
    link->live().removeTickObserver(first);
    link->outputTick();
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(link->live().tickObserverCount(), 0u);
}

// Not connected, a tick only matters to what watches it or to a view that works offline: the
// program may sleep through the others.
TEST_F(LinkExchange, TheTickHasWorkOnlyWhileSomethingUsesIt) {
    LiveDmx& live = link->live();
    bool drumOn = false;
    LiveDmx::ViewOutput drums;
    drums.worksOffline = [&] { return drumOn; };
    live.defineView(kTestConsole, drums);
    link->setView(kFixtureLibrary);
    EXPECT_FALSE(live.tickHasWork());

    const int observer = live.addTickObserver([](int, const DmxFrame&) {});
    EXPECT_TRUE(live.tickHasWork());
    live.removeTickObserver(observer);
    bool shown = false;  // a pop-up's observer: it needs the ticks only while it shows
    const int popup = live.addTickObserver([](int, const DmxFrame&) {}, [&] { return shown; });
    EXPECT_FALSE(live.tickHasWork());
    shown = true;
    EXPECT_TRUE(live.tickHasWork());
    live.removeTickObserver(popup);
    live.oneTickRequest() = 1;
    EXPECT_TRUE(live.tickHasWork());
    link->outputTick();
    link->outputTick();
    EXPECT_FALSE(live.tickHasWork());

    link->setView(kTestConsole);
    EXPECT_FALSE(live.tickHasWork());
    drumOn = true;
    EXPECT_TRUE(live.tickHasWork());
    drumOn = false;

    connectLink();
    EXPECT_TRUE(live.tickHasWork());
}

TEST_F(LinkExchange, RepliesReachHandlersByOrderThenByRegistration) {
    std::vector<int> order;
    std::int32_t seenFlagDuringDispatch = -1;
    auto handler = [&](int tag) {
        return [&, tag](std::uint8_t, std::span<const std::uint8_t>) {
            order.push_back(tag);
            seenFlagDuringDispatch = link->connectReplySeen();
        };
    };
    link->addReplyHandler(handler(30), 3);
    const int removed = link->addReplyHandler(handler(99), 2);
    link->addReplyHandler(handler(10), 1);
    link->addReplyHandler(handler(31), 3);
    link->addReplyHandler(handler(0), -1);
    link->removeReplyHandler(removed);
    // A handler that removes a later one while the reply is being handed round: that one no
    // longer sees it.
    int late = 0;
    const int lateId =
        link->addReplyHandler([&](std::uint8_t, std::span<const std::uint8_t>) { ++late; }, 5);
    link->addReplyHandler(
        [&](std::uint8_t, std::span<const std::uint8_t>) { link->removeReplyHandler(lateId); }, 4);
    link->connectReplySeen() = 0;
    const std::uint8_t data[] = {0x66};
    link->dispatchReply(cmd::kConnect, data);
    EXPECT_EQ(order, (std::vector<int>{0, 10, 30, 31}));
    EXPECT_EQ(late, 0);
    EXPECT_EQ(seenFlagDuringDispatch, 0);  // set only after every handler ran
    EXPECT_EQ(link->connectReplySeen(), 1);
}

TEST_F(LinkExchange, MalformedDatagramsAreDroppedOnBothPaths) {
    int replies = 0;
    link->addReplyHandler([&](std::uint8_t, std::span<const std::uint8_t>) { ++replies; });
    link->sendAnnounce();  // opens the command socket
    ASSERT_TRUE(simReceived(1));
    const QHostAddress lo(QHostAddress::LocalHost);
    const auto cmdPort = static_cast<quint16>(commandSocketPort());
    const auto privPort = static_cast<quint16>(privatePort());
    const QByteArray header = QByteArray("K7420");
    const QByteArray reply = header + char(0xCC) + char(0x51);
    const QList<QByteArray> bad = {
        QByteArray("K742"),                                          // shorter than the header
        QByteArray("X7420") + char(0xCC) + char(0x51) + char(0xD0),  // wrong magic
        reply + QByteArray(kMaxBody + 1, char(0xD0)),  // longer than the receive buffer
    };
    for (const QByteArray& d : bad) {
        sim->sendRawTo(lo, cmdPort, d);
        sim->sendRawTo(lo, privPort, d);
    }
    // Counted but for no consumer: the bare header, an echoed command, an empty reply body.
    sim->sendRawTo(lo, cmdPort, reply);
    sim->sendRawTo(lo, cmdPort, header + char(0xCC) + char(0x50) + char(0xD0));
    sim->sendRawTo(lo, cmdPort, header + char(0x12) + char(0x34) + char(0xD0));
    // Private port: wrong classes and the keep-alive answer class are ignored.
    sim->sendRawTo(lo, privPort, header + char(0xCA) + char(0x02));
    sim->sendRawTo(lo, privPort, header + char(0xCC) + char(0x51) + char(0xD0));
    // Then a good reply still arrives.
    sim->sendRawTo(lo, cmdPort, reply + char(0xD0) + char(0x50));
    ASSERT_TRUE(platform.pumpUntil([&] { return replies == 1; }));
    platform.pumpFor(30);
    EXPECT_EQ(replies, 1);
    EXPECT_EQ(link->receiveCount(), 4);
    EXPECT_EQ(sim->keepAliveAnswers(), 0);
}

TEST(SocketLayer, BindConflictRaisesTheErrorEventAndSendsReopen) {
    LoopbackPlatform platform;
    V21__CSocketMaster first{platform}, second{platform};
    first.setLocalAddress(QHostAddress(QHostAddress::LocalHost));
    second.setLocalAddress(QHostAddress(QHostAddress::LocalHost));
    ASSERT_TRUE(first.Bind(0));
    EXPECT_EQ(first.state(), V21__CSocketMaster::sckOpen);
    std::vector<V21__CSocketMaster::ErrorEvent> errors;
    second.Error = [&](V21__CSocketMaster::ErrorEvent& e) { errors.push_back(e); };
    EXPECT_FALSE(second.Bind(first.localPort()));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].number, 10048);
    EXPECT_EQ(errors[0].description, "Address already in use.");
    EXPECT_EQ(errors[0].source, "V21__CSocketMaster.PostSocket");
    EXPECT_TRUE(platform.messages.isEmpty());
    // A handler that lets it be displayed gets the description through the socket's prompter.
    second.Error = [](V21__CSocketMaster::ErrorEvent& e) { e.cancelDisplay = false; };
    EXPECT_FALSE(second.Bind(first.localPort()));
    EXPECT_EQ(platform.messages, QStringList{"Address already in use."});

    // A send on a socket without a bound port binds a free one first; the datagram arrives whole.
    std::vector<QByteArray> got;
    first.DataArrivalNew = [&](int n, std::span<const std::uint8_t> b) {
        got.emplace_back(reinterpret_cast<const char*>(b.data()), n);
    };
    second.CloseSck();
    second.setRemoteHost("127.0.0.1");
    second.setRemotePort(first.localPort());
    const std::uint8_t payload[] = {1, 2, 3};
    second.SendData_udp_driver(payload);
    EXPECT_EQ(second.state(), V21__CSocketMaster::sckOpen);
    EXPECT_NE(second.localPort(), 0);
    ASSERT_TRUE(platform.pumpUntil([&] { return !got.empty(); }));
    EXPECT_EQ(got[0], bytesOf({1, 2, 3}));

    V21__CSocketMaster never{platform};
    never.CloseSck();
    EXPECT_EQ(never.state(), V21__CSocketMaster::sckClosed);
}

}  // namespace
}  // namespace kx::test
