#include "link/controller_link.h"

#include <QLoggingCategory>
#include <algorithm>

namespace kx {

namespace {

Q_LOGGING_CATEGORY(lcLink, "kx.link")

std::span<const std::uint8_t> bytesOf(const QByteArray& a) {
    return {reinterpret_cast<const std::uint8_t*>(a.constData()),
            static_cast<std::size_t>(a.size())};
}

}  // namespace

bool waitFlag(const Waiter& waiter, const std::int32_t& flag, int timeoutMs) {
    const std::uint32_t start = waiter.clock.milliseconds();
    const auto limit = static_cast<std::uint32_t>(std::max(timeoutMs, 0));
    for (;;) {
        if (flag > 0) return true;
        const std::uint32_t elapsed = waiter.clock.milliseconds() - start;
        if (elapsed > limit) return false;
        // Sleeps until an event (a reply) arrives or the time is up, instead of spinning.
        waiter.pump.processEvents(static_cast<int>(limit - elapsed) + 1);
    }
}

ControllerLink::ControllerLink(const LinkConfig& config, Waiter waiter, Prompter& prompter,
                               QObject* parent)
    : QObject(parent),
      m_config(config),
      m_waiter(waiter),
      m_sendSocket(prompter),
      m_broadcastSocket(prompter),
      m_privateSocket(prompter),
      m_live(*this) {
    for (const QString& note : m_config.notes)
        qCInfo(lcLink).noquote() << note;

    for (V21__CSocketMaster* s : {&m_sendSocket, &m_broadcastSocket, &m_privateSocket}) {
        s->setProtocol(V21__CSocketMaster::kProtocolUdp);
        s->setLocalAddress(m_config.localAddress);
    }
    m_sendSocket.setRemoteHost(m_config.commandHost);
    m_sendSocket.setRemotePort(m_config.commandPort);
    m_broadcastSocket.setRemoteHost(m_config.broadcastHost);
    m_broadcastSocket.setRemotePort(m_config.broadcastPort);

    m_sendSocket.DataArrivalNew = [this](int, std::span<const std::uint8_t> bytes) {
        if (!m_broadcastMode) onReplyDatagram(bytes);
    };
    m_broadcastSocket.DataArrivalNew = [this](int, std::span<const std::uint8_t> bytes) {
        if (m_broadcastMode) onReplyDatagram(bytes);
    };
    m_privateSocket.DataArrivalNew = [this](int, std::span<const std::uint8_t> bytes) {
        onPrivateDatagram(bytes);
    };
    // The command socket is re-created by the next send.
    m_sendSocket.Error = [this](V21__CSocketMaster::ErrorEvent&) {
        finishFrames();
        m_sendSocket.CloseSck();
    };
    // A listening socket that failed would stay deaf: bind it again on the same port.
    m_privateSocket.Error = [this](V21__CSocketMaster::ErrorEvent& e) {
        qCWarning(lcLink).noquote() << "private port:" << e.description;
        reportSocketProblem(
            QStringLiteral("私有端口 %1 出错：%2").arg(m_config.privatePort).arg(e.description));
        if (m_privateSocket.state() == V21__CSocketMaster::sckError &&
            m_privateSocket.localPort() != 0) {
            const int port = m_privateSocket.localPort();
            m_privateSocket.CloseSck();
            m_privateSocket.Bind(port);
        }
    };

    m_privateSocket.CloseSck();
    if (!m_privateSocket.Bind(m_config.privatePort)) {
        qCWarning(lcLink) << "private port" << m_config.privatePort << "cannot be bound";
        reportSocketProblem(
            QStringLiteral(
                "私有端口 %1 无法绑定（可能被其他程序占用），收不到控制器的探测和诊断信息")
                .arg(m_config.privatePort));
    }
}

ControllerLink::~ControllerLink() = default;

V21__CSocketMaster& ControllerLink::socket(Endpoint endpoint) {
    switch (endpoint) {
        case Endpoint::Command:
            return m_sendSocket;
        case Endpoint::Broadcast:
            return m_broadcastSocket;
        case Endpoint::Private:
            break;
    }
    return m_privateSocket;
}

void ControllerLink::reportSocketProblem(const QString& text) {
    m_socketProblem = text;
    emit socketProblemChanged(text);
}

void ControllerLink::setBusy(bool busy) {
    if (busy == m_busy) return;
    // Clicks made during the handshake land while the connect button is still disabled.
    if (busy) {
        m_waiter.pump.holdInput();
    } else {
        m_waiter.pump.releaseInput();
    }
    m_busy = busy;
    emit busyChanged(busy);
}

void ControllerLink::setBroadcastMode(bool on) {
    endFrameBeat();
    m_broadcastMode = on;
    sendAnnounce();
}

void ControllerLink::toggleConnection() {
    if (m_busy || m_released) return;  // the button is disabled, or the tool is leaving
    if (m_connected) {
        disconnectFromController();
    } else {
        connectToController();
    }
}

void ControllerLink::connectToController() {
    setBusy(true);
    m_connectReplySeen = 0;
    sendCommand(cmd::kConnect, {m_broadcastMode ? kBroadcastMarker : std::uint8_t{0x00}});
    const bool answered = waitFlag(m_waiter, m_connectReplySeen, kConnectTimeoutMs);
    if (answered && m_released) {
        // The shutdown began during the wait: the Controller that just answered is let go.
        for (int i = 0; i < kReleaseRepeats; ++i)
            sendCommand(cmd::kDisconnect);
    } else if (answered) {
        m_connected = true;
        emit connectionChanged(true);
        m_live.requestTwoFrames();
    }
    setBusy(false);
}

void ControllerLink::disconnectFromController() {
    endFrameBeat();
    setBusy(true);
    m_connected = false;
    emit connectionChanged(false);
    sendCommand(cmd::kDisconnect);
    setBusy(false);
}

void ControllerLink::sendAnnounce() {
    sendCommand(cmd::kControl,
                {sub::kAnnounce, m_broadcastMode ? kBroadcastMarker : std::uint8_t{0x00}});
}

void ControllerLink::announceTick() {
    if (!m_connected && !m_developerLogOpen && !m_released) sendAnnounce();
}

void ControllerLink::releaseOnlineMode() {
    endFrameBeat();
    if (m_connected) {
        for (int i = 0; i < kReleaseRepeats; ++i)
            sendCommand(cmd::kDisconnect);
        m_connected = false;
        emit connectionChanged(false);
    }
    m_released = true;
}

void ControllerLink::Fun_关闭_Sock() {
    finishFrames();
    m_sendSocket.CloseSck();
    m_broadcastSocket.CloseSck();
    m_privateSocket.CloseSck();
}

bool ControllerLink::sendCommand(std::uint8_t code, std::span<const std::uint8_t> args) {
    if (args.size() > static_cast<std::size_t>(kMaxArguments)) {
        qCWarning(lcLink) << "command" << Qt::hex << code << "with" << Qt::dec << args.size()
                          << "arguments not sent";
        return false;
    }
    std::array<std::uint8_t, kMaxBody> body;
    body[0] = code;
    std::copy(args.begin(), args.end(), body.begin() + 1);
    sendFrame(kClassCommand, kClassCommandOut, std::span(body).first(args.size() + 1));
    return true;
}

void ControllerLink::sendFrame(std::uint8_t class1, std::uint8_t class2,
                               std::span<const std::uint8_t> body) {
    const QByteArray packet = buildPacket(class1, class2, body);
    SockN_Send_in(0, 0, static_cast<int>(packet.size()), bytesOf(packet));
    // A reply already queued is then seen by a following wait.
    m_waiter.pump.processEvents(0);
}

bool ControllerLink::sendHexText(const QString& text) {
    const auto body = hexTextBytes(text);
    if (!body) return false;
    sendFrame(kClassCommand, kClassCommandOut, *body);
    return true;
}

void ControllerLink::sendKeepAliveAnswer() {
    sendFrame(kClassKeepAlive, kClassKeepAliveAnswer, {});
}

void ControllerLink::SockN_Send_in(std::uint8_t, std::uint8_t, int length,
                                   std::span<const std::uint8_t> bytes) {
    const auto n = std::min(static_cast<std::size_t>(std::max(length, 0)), bytes.size());
    countDatagram();
    const FrameSender::Hold hold = holdFrames();
    (m_broadcastMode ? m_broadcastSocket : m_sendSocket).SendData_udp_driver(bytes.first(n));
}

void ControllerLink::countDatagram() {
    m_sendCount = nextCount(m_sendCount);
    if (m_frameSender) m_sendCount = advanceCount(m_sendCount, m_frameSender->takeCountChange());
    countersUpdated();
}

FrameSender::Hold ControllerLink::holdFrames() {
    return m_frameSender ? m_frameSender->hold() : FrameSender::Hold();
}

void ControllerLink::finishFrames() {
    if (m_frameSender) m_frameSender->finish();
}

void ControllerLink::endFrameBeat() {
    if (m_frameSender) m_frameSender->endBeat();
}

void ControllerLink::sendFramesFromThread(std::function<std::uint32_t()> tickDue) {
    m_tickDue = std::move(tickDue);
    if (!m_frameSender) m_frameSender = std::make_unique<FrameSender>();
}

void ControllerLink::postFrameSet(const std::array<std::span<const std::uint8_t>, 3>& commands,
                                  FrameTiming timing) {
    FrameSender::Set set;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        set.datagrams[i] = buildPacket(kClassCommand, kClassCommandOut, commands[i]);
        countDatagram();
    }
    QHostAddress address;
    V21__CSocketMaster& socket = m_broadcastMode ? m_broadcastSocket : m_sendSocket;
    set.descriptor = socket.prepareSend(address);
    if (set.descriptor < 0) return;
    set.to.sin_family = AF_INET;
    set.to.sin_port = htons(static_cast<std::uint16_t>(socket.remotePort()));
    set.to.sin_addr.s_addr = htonl(address.toIPv4Address());
    set.streaming = timing == FrameTiming::StreamingTick;
    if (timing != FrameTiming::AtOnce && m_tickDue) {
        // The tick's due moment in nanoseconds of the same monotonic clock, from how far the
        // clock has moved on since (the millisecond counter wraps).
        constexpr std::int64_t kNsPerMs = 1'000'000;
        const std::int64_t nowMs = FrameSender::nowNs() / kNsPerMs;
        // A tick read a hair after the clock here is not 49 days behind.
        const auto behind =
            static_cast<std::int32_t>(static_cast<std::uint32_t>(nowMs) - m_tickDue());
        set.dueNs = (nowMs - std::max(behind, 0) + kFrameLeadMs) * kNsPerMs;
    }
    m_frameSender->post(std::move(set));
}

void ControllerLink::onReplyDatagram(std::span<const std::uint8_t> datagram) {
    // Too short, too long for the receive buffer or not ours: dropped whole, not counted.
    const auto packet = parsePacket(datagram);
    if (!packet) return;
    m_receiveCount = nextCount(m_receiveCount);
    countersUpdated();
    if (packet->class1 != kClassCommand || packet->class2 != kClassCommandReply) return;
    if (packet->body.empty()) return;
    dispatchReply(packet->body[0], packet->body.subspan(1));
}

void ControllerLink::onPrivateDatagram(std::span<const std::uint8_t> datagram) {
    const auto packet = parsePacket(datagram);
    if (!packet) return;
    if (packet->class1 == kClassDiagnostic && packet->class2 == kClassDiagnosticText) {
        if (m_developerLogOpen && m_diagnosticSink) m_diagnosticSink(hexDigits(packet->body));
    } else if (packet->class1 == kClassKeepAlive && packet->class2 == kClassKeepAliveProbe) {
        sendKeepAliveAnswer();
    }
}

int ControllerLink::addReplyHandler(ReplyHandler handler, int order) {
    const int id = m_nextHandlerId++;
    const auto after =
        std::upper_bound(m_replyHandlers.begin(), m_replyHandlers.end(), order,
                         [](int o, const RegisteredHandler& h) { return o < h.order; });
    m_replyHandlers.insert(after, {id, order, std::move(handler)});
    return id;
}

void ControllerLink::removeReplyHandler(int id) {
    std::erase_if(m_replyHandlers, [id](const RegisteredHandler& h) { return h.id == id; });
}

void ControllerLink::dispatchReply(std::uint8_t code, std::span<const std::uint8_t> data) {
    // A handler may add or remove handlers while it runs: the ones present now are offered the
    // reply unless removed by then, each through a copy of itself.
    std::vector<int> ids;
    ids.reserve(m_replyHandlers.size());
    for (const RegisteredHandler& h : m_replyHandlers)
        ids.push_back(h.id);
    for (const int id : ids) {
        const auto it = std::find_if(m_replyHandlers.begin(), m_replyHandlers.end(),
                                     [id](const RegisteredHandler& h) { return h.id == id; });
        if (it == m_replyHandlers.end() || !it->handler) continue;
        const ReplyHandler handler = it->handler;
        handler(code, data);
    }
    if (code == cmd::kConnect) m_connectReplySeen = 1;
}

}  // namespace kx
