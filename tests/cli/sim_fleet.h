#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <vector>

namespace kx::test {

// Simulated Controllers as their own processes (build/bin/kx7420-sim), each on a loopback
// address of its own with its own folder and log.
class SimFleet {
  public:
    struct Sim {
        QString address;
        quint16 port = 0;
        QString folder;
        QString log;
        std::unique_ptr<QProcess> process;
    };

    // Starts sim i on 127.0.0.(2 + i), port `port`, with its extra options.
    bool start(const std::vector<QStringList>& options) {
        const quint16 port =
            static_cast<quint16>(20000 + QRandomGenerator::global()->bounded(30000));
        for (std::size_t i = 0; i < options.size(); ++i) {
            Sim s;
            s.address = QStringLiteral("127.0.0.%1").arg(2 + i);
            s.port = port;
            s.folder = dir.filePath(QStringLiteral("room%1").arg(i + 1));
            s.log = dir.filePath(QStringLiteral("room%1.log").arg(i + 1));
            QDir().mkpath(s.folder);
            s.process = std::make_unique<QProcess>();
            s.process->setProgram(QStringLiteral(KX_SIM_PATH));
            s.process->setArguments(QStringList{"--address", s.address, "--port",
                                                QString::number(port), "--folder", s.folder,
                                                "--log", s.log, "--quiet", "--keepalive-ms", "0"} +
                                    options[i]);
            s.process->start();
            sims.push_back(std::move(s));
        }
        for (Sim& s : sims) {
            if (!waitForLog(s, "listening")) return false;
        }
        return true;
    }

    static QString logOf(const Sim& s) {
        QFile f(s.log);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    static bool waitForLog(const Sim& s, const QString& text, int timeoutMs = 5000) {
        for (int waited = 0; waited < timeoutMs; waited += 20) {
            if (logOf(s).contains(text)) return true;
            if (s.process->state() == QProcess::NotRunning) return false;
            QThread::msleep(20);
        }
        return false;
    }
    static QByteArray stored(const Sim& s) {
        QFile f(s.folder + "/S7420.K74");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    ~SimFleet() {
        for (Sim& s : sims) {
            s.process->terminate();
            s.process->waitForFinished(2000);
        }
    }

    QTemporaryDir dir;
    std::vector<Sim> sims;
};

}  // namespace kx::test
