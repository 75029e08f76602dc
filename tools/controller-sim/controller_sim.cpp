#include "controller_sim.h"

#include <QNetworkDatagram>
#include <QTextStream>
#include <cstdio>

namespace kxsim {

namespace {

constexpr std::uint8_t kConnect = 0xC0;
constexpr std::uint8_t kDisconnect = 0xC4;
constexpr std::uint8_t kControl = 0xCE;
constexpr std::uint8_t kInner = 0xFA;
constexpr std::uint8_t kFrameCodes[3] = {0x6A, 0x6B, 0x6C};
constexpr int kFrameBodies[3] = {1 + 1024, 1 + 1024, 1 + 600};
constexpr char kYes = 0x66;
constexpr char kNo = 0x44;

int frameSlot(std::uint8_t code) {
    for (int i = 0; i < 3; ++i) {
        if (kFrameCodes[i] == code) return i;
    }
    return -1;
}

bool isTransferCode(std::uint8_t code) {
    return code == 0xD0 || code == 0xD1 || code == 0xD2 || code == 0xD3 || code == 0xD4 ||
           code == 0xD8;
}

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

}  // namespace

ControllerSim::ControllerSim(SimConfig config, QObject* parent)
    : QObject(parent),
      m_config(std::move(config)),
      m_socket(this),
      m_keepAliveTimer(this),
      m_diagnosticTimer(this),
      m_lifetimeTimer(this),
      m_random(m_config.faults.seed),
      m_transfer(m_config.folder) {
    m_clock.start();
    m_transfer.faults = m_config.transferFaults;
    connect(&m_socket, &QUdpSocket::readyRead, this, &ControllerSim::onReadyRead);
    connect(&m_keepAliveTimer, &QTimer::timeout, this, &ControllerSim::sendKeepAliveProbe);
    connect(&m_diagnosticTimer, &QTimer::timeout, this,
            [this] { sendDiagnostic(m_config.diagnosticText); });
    m_lifetimeTimer.setSingleShot(true);
    connect(&m_lifetimeTimer, &QTimer::timeout, this, &ControllerSim::finish);
}

ControllerSim::~ControllerSim() = default;

bool ControllerSim::start() {
    if (!m_config.logFile.isEmpty()) {
        m_logFile.setFileName(m_config.logFile);
        if (!m_logFile.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            m_error = QStringLiteral("cannot open log %1").arg(m_config.logFile);
            return false;
        }
    }
    if (!m_config.frameTimesFile.isEmpty()) {
        m_frameTimesFile.setFileName(m_config.frameTimesFile);
        if (!m_frameTimesFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            m_error = QStringLiteral("cannot open %1").arg(m_config.frameTimesFile);
            return false;
        }
    }
    if (!m_socket.bind(m_config.address, m_config.port, QAbstractSocket::DontShareAddress)) {
        m_error = m_socket.errorString();
        return false;
    }
    log(QStringLiteral("**"), m_config.address, port(),
        QStringLiteral("listening; probes to %1:%2")
            .arg(m_config.toolHost.toString())
            .arg(m_config.toolPrivatePort));
    if (m_config.keepAliveMs > 0) m_keepAliveTimer.start(m_config.keepAliveMs);
    if (m_config.diagnosticMs > 0) m_diagnosticTimer.start(m_config.diagnosticMs);
    if (m_config.lifetimeMs > 0) m_lifetimeTimer.start(static_cast<int>(m_config.lifetimeMs));
    return true;
}

void ControllerSim::stop() {
    m_keepAliveTimer.stop();
    m_diagnosticTimer.stop();
    m_lifetimeTimer.stop();
    m_socket.close();
}

void ControllerSim::finish() {
    if (m_finished) return;
    m_finished = true;
    log(QStringLiteral("**"), m_config.address, port(), QStringLiteral("stopping"));
    stop();
    emit finished();
}

void ControllerSim::onReadyRead() {
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram d = m_socket.receiveDatagram();
        handleDatagram(d.data(), d.senderAddress(), static_cast<quint16>(d.senderPort()));
        if (m_finished) return;
    }
}

void ControllerSim::handleDatagram(const QByteArray& datagram, const QHostAddress& from,
                                   quint16 fromPort) {
    if (m_finished) return;
    ++m_datagrams;
    const auto packet = parseDatagram(datagram);
    if (!packet) {
        ++m_malformed;
        log(QStringLiteral("<-"), from, fromPort,
            QStringLiteral("dropped malformed datagram (%1 bytes) %2")
                .arg(datagram.size())
                .arg(QString::fromLatin1(datagram.left(16).toHex(' ').toUpper())));
    } else {
        if (logging()) log(QStringLiteral("<-"), from, fromPort, describe(*packet));
        if (m_records.size() < kMaxRecords) {
            m_records.push_back({m_clock.nsecsElapsed(), from, fromPort, packet->class1,
                                 packet->class2, packet->body});
        }
        if (packet->class1 == kClassCommand && packet->class2 == kCommand) {
            handleCommand(packet->body, from, fromPort);
        } else if (packet->class1 == kClassKeepAlive && packet->class2 == kAnswer) {
            ++m_keepAliveAnswers;
        }
    }
    if (m_config.maxDatagrams > 0 && m_datagrams >= m_config.maxDatagrams) finish();
}

void ControllerSim::handleCommand(const QByteArray& body, const QHostAddress& from,
                                  quint16 fromPort) {
    if (body.isEmpty()) return;
    m_peer = from;
    m_peerPort = fromPort;
    const auto code = static_cast<std::uint8_t>(body[0]);
    if (const int slot = frameSlot(code); slot >= 0) {
        if (body.size() != kFrameBodies[slot]) {
            log(QStringLiteral("!!"), from, fromPort,
                QStringLiteral("frame of wrong length ignored"));
            return;
        }
        const qint64 at = m_clock.nsecsElapsed();
        if (m_frameTimes[slot].size() < kMaxRecords) m_frameTimes[slot].push_back(at);
        if (slot == 0 && m_frameTimesFile.isOpen()) {
            // Written at once: a benchmark reads the file while the simulator still runs.
            m_frameTimesFile.write(QByteArray::number(at) + '\n');
            m_frameTimesFile.flush();
        }
        m_lastFrame[slot] = body.mid(1);
        return;
    }
    if (isTransferCode(code)) {
        if (const auto r = m_transfer.handle(body)) reply(from, fromPort, *r);
        return;
    }
    switch (code) {
        case kConnect:
            m_online = true;
            reply(from, fromPort, bytes({kConnect, kYes}));
            break;
        case kDisconnect:
            // The Controller restarts: everything switched on by the tool is off again.
            m_online = false;
            m_sceneReporting = false;
            m_serialTest = false;
            m_necReceive = false;
            break;
        case kControl:
            handleControl(body.mid(1), from, fromPort);
            break;
        case kInner:
            handleInnerFrame(body);
            break;
        default:
            break;
    }
}

void ControllerSim::handleControl(const QByteArray& args, const QHostAddress& from,
                                  quint16 fromPort) {
    if (args.isEmpty()) return;
    const auto sub = static_cast<std::uint8_t>(args[0]);
    const int arg1 = args.size() > 1 ? static_cast<std::uint8_t>(args[1]) : -1;
    switch (sub) {
        case 0x12:
            if (arg1 >= 0) {
                m_currentScene = arg1;
                reportScene(0, arg1, arg1);
            }
            break;
        case 0x19:
            if (arg1 == 0x88) {
                m_serialTest = true;
            } else if (arg1 == 0x44) {
                m_serialTest = false;
            } else if ((arg1 == 0xA1 || arg1 == 0xA2) && m_serialTest) {
                // The injected bytes are what the port then sees.
                reply(from, fromPort, bytes({kControl, 0x19, arg1}) + args.mid(2));
            }
            break;
        case 0x21:
            reply(from, fromPort, bytes({kControl, 0x21}) + m_config.version);
            break;
        case 0x24:
            if (arg1 == 0x02 && args.size() >= 3)
                reply(from, fromPort, bytes({kControl, 0x24, 0x02}));
            break;
        case 0x26: {
            if (m_config.computerInfo.isEmpty()) {
                reply(from, fromPort, bytes({kControl, 0x26, kNo}));
                break;
            }
            // A length byte and UTF-16 big-endian code units.
            const QString text = m_config.computerInfo.left(250);
            QByteArray r = bytes({kControl, 0x26, kYes, static_cast<int>(text.size())});
            for (QChar c : text)
                putBe(r, c.unicode(), 2);
            reply(from, fromPort, r);
            break;
        }
        case 0x31: {
            const auto idOf = [this](int type) {
                QFile f(m_transfer.pathOf(type));
                if (!f.open(QIODevice::ReadOnly)) return -1;
                return static_cast<int>(additiveChecksum(f.readAll()) & 0xFF);
            };
            const int wall = idOf(2);
            const int vod = idOf(3);
            reply(from, fromPort,
                  bytes({kControl, 0x31, wall >= 0 ? 1 : 0, std::max(wall, 0), vod >= 0 ? 1 : 0,
                         std::max(vod, 0)}));
            break;
        }
        case 0x50:
            if (arg1 == 0x01 && !m_necReceive) {
                // One remote key press in front of the receiver once reception is on.
                m_necReceive = true;
                reply(from, fromPort, bytes({kControl, 0x50, kYes}) + m_config.necCode);
            } else if (arg1 == 0x00) {
                m_necReceive = false;
            }
            break;
        default:
            break;
    }
}

void ControllerSim::handleInnerFrame(const QByteArray& body) {
    // FA F5 AA 55, total length (2), CE 20, on 88 00 / off 44 BC.
    if (body.size() < 10 || body.left(4) != QByteArray::fromHex("FAF5AA55")) return;
    if (static_cast<int>(getBe(body, 4, 2)) != body.size()) return;
    if (static_cast<std::uint8_t>(body[6]) != kControl || body[7] != 0x20) return;
    const auto state = static_cast<std::uint8_t>(body[8]);
    if (state == 0x88) {
        m_sceneReporting = true;
        reportScene(0, m_currentScene, m_currentScene);
    } else if (state == 0x44) {
        m_sceneReporting = false;
    }
}

void ControllerSim::reportScene(int source, int number, int scene) {
    if (!m_sceneReporting || m_peerPort == 0) return;
    reply(m_peer, m_peerPort, bytes({kControl, 0x20, source, number, scene}));
}

void ControllerSim::sendKeepAliveProbe() {
    transmit(m_config.toolHost, m_config.toolPrivatePort, makeDatagram(kClassKeepAlive, kProbe, {}),
             {});
}

void ControllerSim::sendDiagnostic(const QByteArray& text) {
    transmit(m_config.toolHost, m_config.toolPrivatePort,
             makeDatagram(kClassDiagnostic, kDiagnosticText, text), {});
}

void ControllerSim::sendReplyTo(const QHostAddress& to, quint16 port, const QByteArray& body) {
    transmit(to, port, makeDatagram(kClassCommand, kReply, body), {});
}

void ControllerSim::sendRawTo(const QHostAddress& to, quint16 port, const QByteArray& datagram) {
    transmit(to, port, datagram, QStringLiteral("raw"));
}

void ControllerSim::reply(const QHostAddress& to, quint16 port, const QByteArray& body) {
    const QByteArray datagram = makeDatagram(kClassCommand, kReply, body);
    const int code = static_cast<std::uint8_t>(body[0]);
    SimFaults& f = m_config.faults;
    const bool chosen = f.dropCodes.contains(code) && f.dropLimit != 0;
    const bool blockDropped =
        code == 0xD1 && f.dropBlockShare > 0 && m_random.generateDouble() < f.dropBlockShare;
    if (chosen || blockDropped || (f.dropShare > 0 && m_random.generateDouble() < f.dropShare)) {
        if (chosen && f.dropLimit > 0) --f.dropLimit;
        ++m_repliesDropped;
        log(QStringLiteral("xx"), to, port,
            describe(*parseDatagram(datagram)) + QStringLiteral("  (dropped)"));
        return;
    }
    const int copies = f.duplicate ? 2 : 1;
    for (int i = 0; i < copies; ++i) {
        if (f.delayMs > 0) {
            QTimer::singleShot(f.delayMs, Qt::PreciseTimer, this, [this, to, port, datagram] {
                transmit(to, port, datagram, QStringLiteral("delayed"));
            });
        } else {
            transmit(to, port, datagram, {});
        }
    }
}

void ControllerSim::transmit(const QHostAddress& to, quint16 port, const QByteArray& datagram,
                             const QString& note) {
    if (m_finished || m_socket.state() != QAbstractSocket::BoundState) return;
    // Loopback only: this program never talks to a real network.
    if (!to.isLoopback() || port == 0) {
        log(QStringLiteral("!!"), to, port, QStringLiteral("refused to send off loopback"));
        return;
    }
    m_socket.writeDatagram(datagram, to, port);
    if (datagram.size() >= kHeaderSize && static_cast<std::uint8_t>(datagram[6]) == kReply)
        ++m_repliesSent;
    if (!logging()) return;
    const auto packet = parseDatagram(datagram);
    QString text = packet ? describe(*packet) : QStringLiteral("%1 raw bytes").arg(datagram.size());
    if (!note.isEmpty()) text += QStringLiteral("  (%1)").arg(note);
    log(QStringLiteral("->"), to, port, text);
}

void ControllerSim::log(const QString& arrow, const QHostAddress& peer, quint16 port,
                        const QString& text) {
    const QString line = QStringLiteral("[%1] %2 %3:%4  %5")
                             .arg(m_clock.elapsed() / 1000.0, 9, 'f', 3)
                             .arg(arrow, peer.toString())
                             .arg(port)
                             .arg(text);
    m_log.push_back(line);
    while (static_cast<int>(m_log.size()) > m_config.logMemoryLines)
        m_log.pop_front();
    if (m_config.logToStdout) {
        QTextStream out(stdout);
        out << line << '\n';
        out.flush();
    }
    if (m_logFile.isOpen()) {
        m_logFile.write(line.toUtf8() + '\n');
        m_logFile.flush();
    }
}

QStringList ControllerSim::logLines() const {
    return QStringList(m_log.begin(), m_log.end());
}

int ControllerSim::commandCount(std::uint8_t code, int sub) const {
    return static_cast<int>(commands(code, sub).size());
}

std::vector<SimRecord> ControllerSim::commands(std::uint8_t code, int sub) const {
    std::vector<SimRecord> out;
    for (const SimRecord& r : m_records) {
        if (r.class1 != kClassCommand || r.class2 != kCommand || r.body.isEmpty()) continue;
        if (static_cast<std::uint8_t>(r.body[0]) != code) continue;
        if (sub >= 0 && (r.body.size() < 2 || static_cast<std::uint8_t>(r.body[1]) != sub))
            continue;
        out.push_back(r);
    }
    return out;
}

const std::vector<qint64>& ControllerSim::frameTimesNs(std::uint8_t code) const {
    static const std::vector<qint64> none;
    const int slot = frameSlot(code);
    return slot >= 0 ? m_frameTimes[slot] : none;
}

QByteArray ControllerSim::lastFrame(std::uint8_t code) const {
    const int slot = frameSlot(code);
    return slot >= 0 ? m_lastFrame[slot] : QByteArray();
}

}  // namespace kxsim
