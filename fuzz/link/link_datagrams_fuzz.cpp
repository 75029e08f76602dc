// Random datagrams into the tool's reply and private receive paths and into the simulated
// Controller's parser. The first byte chooses the path and the link's modes.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "controller_sim.h"
#include "link/controller_link.h"
#include "link/loopback_platform.h"

namespace {

struct Harness {
    Harness() {
        kx::LinkConfig lc;
        lc.commandHost = lc.broadcastHost = "127.0.0.1";
        lc.commandPort = lc.broadcastPort = 9;  // discard: nothing listens there
        lc.localAddress = QHostAddress(QHostAddress::LocalHost);
        link = std::make_unique<kx::ControllerLink>(lc, kx::Waiter{platform, platform}, platform);
        // Handlers read every byte they are given, so a wrong length shows up under ASan.
        for (int order = 0; order < 6; ++order) {
            link->addReplyHandler(
                [this](std::uint8_t code, std::span<const std::uint8_t> data) {
                    for (std::uint8_t b : data)
                        sum += b + code;
                },
                order);
        }
        link->setDiagnosticSink(
            [this](const QString& line) { sum += static_cast<unsigned>(line.size()); });

        kxsim::SimConfig sc;
        sc.port = 0;
        sc.folder = files.path();
        sc.logMemoryLines = 16;
        sim = std::make_unique<kxsim::ControllerSim>(sc);
        sim->start();
    }

    kx::test::LoopbackPlatform platform;
    QTemporaryDir files;
    std::unique_ptr<kx::ControllerLink> link;
    std::unique_ptr<kxsim::ControllerSim> sim;
    unsigned sum = 0;
};

Harness& harness() {
    static int argc = 1;
    static char name[] = "fuzz_link_datagrams";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static Harness h;
    return h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Harness& h = harness();
    if (size == 0) return 0;
    const std::uint8_t mode = data[0];
    const std::span<const std::uint8_t> datagram(data + 1, size - 1);
    switch (mode % 3) {
        case 0:
            h.link->onReplyDatagram(datagram);
            break;
        case 1:
            h.link->setDeveloperLogOpen(mode & 4);
            h.link->onPrivateDatagram(datagram);
            break;
        default:
            h.sim->handleDatagram(QByteArray(reinterpret_cast<const char*>(datagram.data()),
                                             static_cast<qsizetype>(datagram.size())),
                                  QHostAddress(QHostAddress::LocalHost), 9);
            break;
    }
    return 0;
}
