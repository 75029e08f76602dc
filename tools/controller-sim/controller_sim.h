#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QRandomGenerator>
#include <QStringList>
#include <QTimer>
#include <QUdpSocket>
#include <cstdint>
#include <deque>
#include <vector>

#include "sim_packet.h"
#include "sim_transfer.h"

namespace kxsim {

// Replies the simulated Controller spoils on purpose.
struct SimFaults {
    double dropShare = 0.0;       // share of replies dropped at random (0..1)
    double dropBlockShare = 0.0;  // share of download block replies (0xD1) dropped at random
    quint32 seed = 7420;
    QList<int> dropCodes;    // reply codes to drop ...
    int dropLimit = -1;      // ... this many more times (-1: always)
    int delayMs = 0;         // every reply this much later
    bool duplicate = false;  // every reply twice
};

struct SimConfig {
    QHostAddress address{QHostAddress::LocalHost};
    quint16 port = 51801;  // 0: any free port
    // Keep-alive probes and diagnostic text go to the tool's private port.
    QHostAddress toolHost{QHostAddress::LocalHost};
    quint16 toolPrivatePort = 51800;
    QString folder;        // received and served files
    int keepAliveMs = 0;   // 0: no probes of its own
    int diagnosticMs = 0;  // 0: no diagnostic text of its own
    QByteArray diagnosticText = "KX7420 SIM OK";
    qint64 lifetimeMs = 0;    // stops by itself after this long (0: runs until stopped)
    qint64 maxDatagrams = 0;  // ... or after this many received datagrams (0: no limit)
    SimFaults faults;
    TransferFaults transferFaults;  // then changed through transfer().faults
    bool logToStdout = false;
    QString logFile;
    // One line per 0x6A received: its arrival in nanoseconds since the start (benchmarks).
    QString frameTimesFile;
    int logMemoryLines = 5000;
    // What the queries answer.
    QByteArray version = "KX-7420 SIM V14.2";
    QString computerInfo;  // empty: none stored
    QByteArray necCode = QByteArray::fromHex("00FF12ED");
};

// One datagram as the Controller received it.
struct SimRecord {
    qint64 atNs = 0;
    QHostAddress from;
    quint16 port = 0;
    std::uint8_t class1 = 0;
    std::uint8_t class2 = 0;
    QByteArray body;
};

// A simulated KX-7420 Controller on loopback: answers the tool as the real one does, records what
// it received, logs every datagram readably, and spoils replies on request.
class ControllerSim : public QObject {
    Q_OBJECT
  public:
    static constexpr std::size_t kMaxRecords = 200000;

    explicit ControllerSim(SimConfig config, QObject* parent = nullptr);
    ~ControllerSim() override;

    // Binds the port and starts the periodic probes and the lifetime; false when the port
    // cannot be bound (errorString() says why).
    bool start();
    void stop();
    quint16 port() const { return m_socket.localPort(); }
    QString errorString() const { return m_error; }
    void setToolPrivatePort(quint16 port) { m_config.toolPrivatePort = port; }
    SimFaults& faults() { return m_config.faults; }

    // One received datagram (also the fuzzing entry).
    void handleDatagram(const QByteArray& datagram, const QHostAddress& from, quint16 fromPort);

    // Unsolicited traffic towards the tool.
    void sendKeepAliveProbe();
    void sendDiagnostic(const QByteArray& text);
    // 0xCE 0x20 source number scene to the tool's last command endpoint, while reporting is on.
    void reportScene(int source, int number, int scene);
    // A reply (code + data) straight to any endpoint, without faults.
    void sendReplyTo(const QHostAddress& to, quint16 port, const QByteArray& body);
    void sendRawTo(const QHostAddress& to, quint16 port, const QByteArray& datagram);

    // What was received.
    const std::vector<SimRecord>& records() const { return m_records; }
    // Commands with this code (and sub-command, argument 0, when given).
    int commandCount(std::uint8_t code, int sub = -1) const;
    std::vector<SimRecord> commands(std::uint8_t code, int sub = -1) const;
    // Arrival times of the live DMX commands 0x6A, 0x6B, 0x6C.
    const std::vector<qint64>& frameTimesNs(std::uint8_t code) const;
    QByteArray lastFrame(std::uint8_t code) const;
    qint64 datagramCount() const { return m_datagrams; }
    qint64 malformedCount() const { return m_malformed; }
    int keepAliveAnswers() const { return m_keepAliveAnswers; }
    int repliesSent() const { return m_repliesSent; }
    int repliesDropped() const { return m_repliesDropped; }
    bool online() const { return m_online; }
    bool sceneReporting() const { return m_sceneReporting; }
    bool serialTest() const { return m_serialTest; }
    int currentScene() const { return m_currentScene; }
    SimTransfer& transfer() { return m_transfer; }
    QStringList logLines() const;

  signals:
    // The lifetime or the datagram limit is reached.
    void finished();

  private:
    // Whether anyone reads the log: describing every datagram costs more than answering it.
    bool logging() const {
        return m_config.logToStdout || m_logFile.isOpen() || m_config.logMemoryLines > 0;
    }

    void onReadyRead();
    void handleCommand(const QByteArray& body, const QHostAddress& from, quint16 fromPort);
    void handleControl(const QByteArray& args, const QHostAddress& from, quint16 fromPort);
    void handleInnerFrame(const QByteArray& body);
    void reply(const QHostAddress& to, quint16 port, const QByteArray& body);
    void transmit(const QHostAddress& to, quint16 port, const QByteArray& datagram,
                  const QString& note);
    void log(const QString& arrow, const QHostAddress& peer, quint16 port, const QString& text);
    void finish();

    SimConfig m_config;
    QUdpSocket m_socket;
    QTimer m_keepAliveTimer;
    QTimer m_diagnosticTimer;
    QTimer m_lifetimeTimer;
    QElapsedTimer m_clock;
    QRandomGenerator m_random;
    QFile m_logFile;
    QFile m_frameTimesFile;
    QString m_error;
    SimTransfer m_transfer;

    std::vector<SimRecord> m_records;
    std::vector<qint64> m_frameTimes[3];
    QByteArray m_lastFrame[3];
    std::deque<QString> m_log;
    qint64 m_datagrams = 0;
    qint64 m_malformed = 0;
    int m_keepAliveAnswers = 0;
    int m_repliesSent = 0;
    int m_repliesDropped = 0;
    bool m_finished = false;

    // The Controller's own state.
    bool m_online = false;
    bool m_sceneReporting = false;
    bool m_serialTest = false;
    bool m_necReceive = false;
    int m_currentScene = 1;
    QHostAddress m_peer;  // where the tool's commands come from
    quint16 m_peerPort = 0;
};

}  // namespace kxsim
