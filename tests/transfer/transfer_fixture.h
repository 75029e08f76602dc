#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <random>

#include <gtest/gtest.h>

#include "controller_sim.h"
#include "link/controller_link.h"
#include "link/loopback_platform.h"
#include "transfer/file_transfer.h"

namespace kx::test {

// The loopback platform with answered file dialogs and a fixed time of day, so whole logs can be
// compared.
class TransferPlatform : public LoopbackPlatform {
  public:
    TransferPlatform() { QDir(dir.path()).mkpath("AppSet/Sys_config"); }
    QDateTime localTime() override { return QDateTime(QDate(2026, 3, 7), QTime(9, 5, 4)); }
    QString fileDialog(const FileDialog& dialog) override {
        dialogs.push_back(dialog);
        if (dialogAnswers.empty()) return {};
        QString answer = dialogAnswers.front();
        dialogAnswers.pop_front();
        return answer;
    }
    std::deque<QString> dialogAnswers;
    std::vector<FileDialog> dialogs;
};

// The tool's link and transfer against an in-process simulated Controller on 127.0.0.1.
class TransferFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        kxsim::SimConfig sc;
        sc.port = 0;
        sc.folder = controllerFiles.path();
        sim = std::make_unique<kxsim::ControllerSim>(sc);
        ASSERT_TRUE(sim->start()) << sim->errorString().toStdString();
        link = std::make_unique<ControllerLink>(loopbackConfig(sim->port()),
                                                Waiter{platform, platform}, platform);
        sim->setToolPrivatePort(
            static_cast<quint16>(link->socket(ControllerLink::Endpoint::Private).localPort()));
        transfer = std::make_unique<FileTransfer>(*link);
    }

  public:
    static LinkConfig loopbackConfig(int port) {
        LinkConfig lc;
        lc.commandHost = "127.0.0.1";
        lc.commandPort = port;
        lc.broadcastHost = "127.0.0.1";
        lc.broadcastPort = port;
        lc.privatePort = 0;
        lc.localAddress = QHostAddress(QHostAddress::LocalHost);
        return lc;
    }

  protected:
    void connectLink() {
        link->toggleConnection();
        ASSERT_TRUE(link->connected());
    }

    // A file in the tool's program directory.
    QString writeToolFile(const QString& name, const QByteArray& bytes) {
        const QString path = platform.dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    static QByteArray readFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray storedOnController(FileType type) {
        return readFile(sim->transfer().pathOf(static_cast<int>(type)));
    }

    // Show-like content: runs of zeros, escapes and ordinary bytes.
    static QByteArray sampleFile(int size, unsigned seed) {
        std::mt19937 rng(seed);
        QByteArray b(size, '\0');
        for (int i = 0; i < size;) {
            const int run = 1 + static_cast<int>(rng() % 300);
            const unsigned kind = rng() % 4;
            for (int k = 0; k < run && i < size; ++k, ++i) {
                b[i] = kind == 0   ? '\0'
                       : kind == 1 ? static_cast<char>(0xFE)
                                   : static_cast<char>(rng());
            }
        }
        return b;
    }

    TransferPlatform platform;
    QTemporaryDir controllerFiles;
    std::unique_ptr<kxsim::ControllerSim> sim;
    std::unique_ptr<ControllerLink> link;
    std::unique_ptr<FileTransfer> transfer;
    TextLog log;
};

}  // namespace kx::test
