#pragma once

#include <QTemporaryDir>
#include <memory>

#include <gtest/gtest.h>

#include "controller_sim.h"
#include "link/controller_link.h"
#include "link/loopback_platform.h"

namespace kx::test {

// The tool's link and an in-process simulated Controller, both on 127.0.0.1 with free ports.
class LinkFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        kxsim::SimConfig sc;
        sc.port = 0;
        sc.folder = files.path();
        sc.computerInfo = simComputerInfo;
        adjustSim(sc);
        sim = std::make_unique<kxsim::ControllerSim>(sc);
        ASSERT_TRUE(sim->start()) << sim->errorString().toStdString();

        LinkConfig lc;
        lc.commandHost = "127.0.0.1";
        lc.commandPort = sim->port();
        lc.broadcastHost = "127.0.0.1";
        lc.broadcastPort = sim->port();
        lc.privatePort = 0;
        lc.localAddress = QHostAddress(QHostAddress::LocalHost);
        link = std::make_unique<ControllerLink>(lc, Waiter{platform, platform}, platform);
        sim->setToolPrivatePort(static_cast<quint16>(privatePort()));
    }

    virtual void adjustSim(kxsim::SimConfig&) {}

    int privatePort() { return link->socket(ControllerLink::Endpoint::Private).localPort(); }
    int commandSocketPort() { return link->socket(ControllerLink::Endpoint::Command).localPort(); }
    int broadcastSocketPort() {
        return link->socket(ControllerLink::Endpoint::Broadcast).localPort();
    }

    void connectLink() {
        link->toggleConnection();
        ASSERT_TRUE(link->connected());
    }
    // Waits until the Controller has received n datagrams in all.
    bool simReceived(qint64 n) {
        return platform.pumpUntil([&] { return sim->datagramCount() >= n; });
    }

    LoopbackPlatform platform;
    QTemporaryDir files;
    QString simComputerInfo;
    std::unique_ptr<kxsim::ControllerSim> sim;
    std::unique_ptr<ControllerLink> link;
};

inline QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

}  // namespace kx::test
