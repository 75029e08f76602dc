// kx7420-sim: a simulated KX-7420 Controller on loopback, for running the tool without hardware.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <climits>

#include "controller_sim.h"

namespace {

int toInt(const QCommandLineParser& p, const QString& name, bool& ok, int max = INT_MAX) {
    bool good = false;
    const int v = p.value(name).toInt(&good);
    if (!good || v < 0 || v > max) ok = false;
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kx7420-sim"));

    QCommandLineParser p;
    p.setApplicationDescription(
        QStringLiteral("Simulated KX-7420 Controller on loopback: answers connect, transfers, "
                       "queries and live DMX, "
                       "sends keep-alive probes and diagnostic text to the tool's private port, "
                       "logs every datagram."));
    p.addHelpOption();
    p.addOptions({
        {"address", "Loopback address the Controller listens on (127.x.y.z).", "ip", "127.0.0.1"},
        {"port", "UDP port the Controller listens on.", "n", "51801"},
        {"tool-port", "The tool's private port for probes and diagnostic text.", "n", "51800"},
        {"folder", "Folder of received and served files.", "dir", "controller-sim-files"},
        {"log", "Also append the datagram log to this file.", "file"},
        {"frame-times", "Write the arrival of every 0x6A (ns since start) to this file.", "file"},
        {"quiet", "No datagram log on standard output."},
        {"memory-log",
         "Datagram log lines kept in memory (0: none; with --quiet and no --log, "
         "nothing describes the datagrams).",
         "n", "5000"},
        {"keepalive-ms", "Keep-alive probe period (0: none).", "ms", "5000"},
        {"diag-ms", "Diagnostic text period (0: none).", "ms", "0"},
        {"diag-text", "Diagnostic text to send.", "text", "KX7420 SIM OK"},
        {"lifetime-ms", "Stop after this long (0: run until ended).", "ms", "0"},
        {"max-datagrams", "Stop after receiving this many datagrams (0: no limit).", "n", "0"},
        {"drop-share", "Share of replies dropped at random, 0..1.", "x", "0"},
        {"drop-block-share", "Share of download block replies (D1) dropped at random, 0..1.", "x",
         "0"},
        {"seed", "Seed of the random drops.", "n", "7420"},
        {"drop-codes", "Reply codes to drop, hex, comma separated (e.g. D1,D8).", "codes"},
        {"drop-count", "Drop the chosen codes only this many times (-1: always).", "n", "-1"},
        {"delay-ms", "Send every reply this much later.", "ms", "0"},
        {"duplicate", "Send every reply twice."},
        {"fail-verify", "Answer every download verification with failure."},
        {"wrong-status", "Report one block short (and forget it) in the next n status answers.",
         "n", "0"},
        {"short-upload", "Send one byte less than asked in upload blocks."},
        {"version-text", "Firmware version text.", "text", "KX-7420 SIM V14.2"},
        {"computer-info", "Stored computer information (empty: none).", "text", ""},
    });
    p.process(app);

    QTextStream err(stderr);
    bool ok = true;
    kxsim::SimConfig c;
    c.address = QHostAddress(p.value("address"));
    // Loopback only: this program never listens on a real network.
    ok = ok && c.address.protocol() == QAbstractSocket::IPv4Protocol && c.address.isLoopback();
    c.port = static_cast<quint16>(toInt(p, "port", ok, 65535));
    c.toolPrivatePort = static_cast<quint16>(toInt(p, "tool-port", ok, 65535));
    c.folder = p.value("folder");
    c.logFile = p.value("log");
    c.frameTimesFile = p.value("frame-times");
    c.logToStdout = !p.isSet("quiet");
    c.logMemoryLines = toInt(p, "memory-log", ok);
    c.keepAliveMs = toInt(p, "keepalive-ms", ok);
    c.diagnosticMs = toInt(p, "diag-ms", ok);
    c.diagnosticText = p.value("diag-text").toLatin1();
    c.lifetimeMs = toInt(p, "lifetime-ms", ok);
    c.maxDatagrams = toInt(p, "max-datagrams", ok);
    bool shareOk = false;
    c.faults.dropShare = p.value("drop-share").toDouble(&shareOk);
    ok = ok && shareOk;
    c.faults.dropBlockShare = p.value("drop-block-share").toDouble(&shareOk);
    ok = ok && shareOk && c.faults.dropBlockShare >= 0 && c.faults.dropBlockShare <= 1;
    c.faults.seed = static_cast<quint32>(toInt(p, "seed", ok));
    for (const QString& code : p.value("drop-codes").split(',', Qt::SkipEmptyParts)) {
        bool good = false;
        c.faults.dropCodes << code.trimmed().toInt(&good, 16);
        ok = ok && good;
    }
    c.faults.dropLimit = p.value("drop-count").toInt();
    c.faults.delayMs = toInt(p, "delay-ms", ok);
    c.faults.duplicate = p.isSet("duplicate");
    c.transferFaults.failVerify = p.isSet("fail-verify");
    c.transferFaults.wrongStatus = toInt(p, "wrong-status", ok);
    c.transferFaults.shortUpload = p.isSet("short-upload");
    c.version = p.value("version-text").toLatin1();
    c.computerInfo = p.value("computer-info");
    if (!ok || c.faults.dropShare < 0 || c.faults.dropShare > 1) {
        err << "kx7420-sim: bad option value\n";
        return 2;
    }

    kxsim::ControllerSim sim(c);
    if (!sim.start()) {
        err << "kx7420-sim: " << sim.errorString() << '\n';
        return 1;
    }
    QObject::connect(&sim, &kxsim::ControllerSim::finished, &app, &QCoreApplication::quit);
    return QCoreApplication::exec();
}
