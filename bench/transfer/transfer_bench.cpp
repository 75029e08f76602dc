// A 1 MiB Show File downloaded to the simulated Controller over loopback, next to the same number
// of bare request/acknowledge round trips between two sockets: the bound of any stop-and-wait
// transfer on the same event loop.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QNetworkDatagram>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>
#include <QUdpSocket>
#include <random>

#include "app/loop_driver.h"
#include "app/process_core.h"
#include "controller_sim.h"
#include "link/loopback_platform.h"
#include "transfer/file_transfer.h"

namespace kx {
namespace {

constexpr int kFileSize = 1024 * 1024;

QByteArray showLikeFile() {
    std::mt19937 rng(7420);
    QByteArray b(kFileSize, '\0');
    for (int i = 0; i < kFileSize;) {
        const int run = 1 + static_cast<int>(rng() % 300);
        const unsigned kind = rng() % 4;
        for (int k = 0; k < run && i < kFileSize; ++k, ++i) {
            b[i] = kind == 0   ? '\0'
                   : kind == 1 ? static_cast<char>(0xFE)
                               : static_cast<char>(rng());
        }
    }
    return b;
}

LinkConfig loopback(int port) {
    LinkConfig lc;
    lc.commandHost = "127.0.0.1";
    lc.commandPort = port;
    lc.broadcastHost = "127.0.0.1";
    lc.broadcastPort = port;
    lc.localAddress = QHostAddress(QHostAddress::LocalHost);
    return lc;
}

// Commands one download of the file sends: start, the blocks, the verification.
int exchangesOf(const QByteArray& file) {
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(file.constData()),
                                 static_cast<std::size_t>(file.size()));
    int n = 2;
    for (std::size_t offset = 0; offset < bytes.size(); ++n) {
        offset += static_cast<std::size_t>(planBlock(bytes, offset).raw);
    }
    return n;
}

// Downloads the show-like file to the Controller at port on every iteration.
void downloadRepeatedly(benchmark::State& state, quint16 port) {
    test::LoopbackPlatform platform;
    ControllerLink link(loopback(port), {platform, platform}, platform);
    FileTransfer transfer(link);
    const QByteArray file = showLikeFile();
    const QString path = platform.dir.filePath("S7420.K74");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(file);
    f.close();

    for (auto _ : state) {
        TextLog log;
        transfer.downloadFile(FileType::Show, path, log);
        if (transfer.transferSucceeded() != 1) state.SkipWithError("download failed");
    }
    state.counters["exchanges"] = exchangesOf(file);
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

kxsim::SimConfig quietSim(const QString& folder) {
    kxsim::SimConfig sc;
    sc.port = 0;
    sc.folder = folder;
    sc.logMemoryLines = 0;
    return sc;
}

void BM_DownloadShow1MiB(benchmark::State& state) {
    QTemporaryDir controllerFiles;
    kxsim::ControllerSim sim(quietSim(controllerFiles.path()));
    if (!sim.start()) {
        state.SkipWithError("simulator port");
        return;
    }
    downloadRepeatedly(state, sim.port());
}

// The same download to a bare responder that acknowledges every command at once without decoding
// or storing anything: the tool's own share of the transfer time.
void BM_DownloadShow1MiBBareResponder(benchmark::State& state) {
    QUdpSocket responder;
    responder.bind(QHostAddress::LocalHost, 0);
    QObject::connect(&responder, &QUdpSocket::readyRead, [&] {
        while (responder.hasPendingDatagrams()) {
            const QNetworkDatagram d = responder.receiveDatagram();
            const QByteArray in = d.data();
            if (in.size() < 8) continue;
            const char code = in[7];
            QByteArray reply("K7420\xCC\x51", 7);
            reply += code;
            reply += static_cast<char>(code == static_cast<char>(0xD2) ? 0x66 : 0x50);
            reply += QByteArray(4, '\0');
            responder.writeDatagram(reply, d.senderAddress(), static_cast<quint16>(d.senderPort()));
        }
    });
    downloadRepeatedly(state, responder.localPort());
}

// A socket that acknowledges every datagram at once.
std::unique_ptr<QUdpSocket> ackResponder() {
    auto responder = std::make_unique<QUdpSocket>();
    responder->bind(QHostAddress::LocalHost, 0);
    QUdpSocket* r = responder.get();
    QObject::connect(r, &QUdpSocket::readyRead, r, [r] {
        const QByteArray ack("K7420\xCC\x51\xD1\x50\x00\x00\x00\x00", 13);
        while (r->hasPendingDatagrams()) {
            const QNetworkDatagram d = r->receiveDatagram();
            r->writeDatagram(ack, d.senderAddress(), static_cast<quint16>(d.senderPort()));
        }
    });
    return responder;
}

// As many plain request/acknowledge round trips to the responder at port as a download has
// exchanges, each request of a typical block's size: the bound of a stop-and-wait transfer.
void roundTripsTo(benchmark::State& state, quint16 port) {
    test::LoopbackPlatform platform;
    QUdpSocket requester;
    requester.bind(QHostAddress::LocalHost, 0);
    std::int32_t seen = 0;
    QObject::connect(&requester, &QUdpSocket::readyRead, [&] {
        while (requester.hasPendingDatagrams())
            requester.receiveDatagram();
        seen = 1;
    });
    const QByteArray request(7 + 1 + 4 + 1400, 'r');
    const int trips = exchangesOf(showLikeFile());
    for (auto _ : state) {
        for (int i = 0; i < trips; ++i) {
            seen = 0;
            requester.writeDatagram(request, QHostAddress::LocalHost, port);
            if (!waitFlag({platform, platform}, seen, 500)) state.SkipWithError("round trip lost");
        }
    }
    state.counters["exchanges"] = trips;
}

void BM_RoundTrips(benchmark::State& state) {
    const auto responder = ackResponder();
    roundTripsTo(state, responder->localPort());
}

// A peer on a thread of its own, as the Controller is a device of its own: its work no longer runs
// on the tool's thread between a request and its answer.
class PeerThread : public QThread {
  public:
    explicit PeerThread(std::function<std::unique_ptr<QObject>(quint16&)> make)
        : m_make(std::move(make)) {}
    quint16 port = 0;
    QSemaphore ready;

  protected:
    void run() override {
        std::unique_ptr<QObject> peer = m_make(port);
        ready.release();
        exec();
    }

  private:
    std::function<std::unique_ptr<QObject>(quint16&)> m_make;
};

void downloadTo(benchmark::State& state, PeerThread& peer) {
    peer.start();
    peer.ready.acquire();
    downloadRepeatedly(state, peer.port);
    peer.quit();
    peer.wait();
}

void BM_DownloadShow1MiBSimOnItsThread(benchmark::State& state) {
    QTemporaryDir files;
    PeerThread peer([&files](quint16& port) {
        auto sim = std::make_unique<kxsim::ControllerSim>(quietSim(files.path()));
        sim->start();
        port = sim->port();
        return sim;
    });
    downloadTo(state, peer);
}

// The bound with the answering socket on its own thread too.
void BM_RoundTripsResponderOnItsThread(benchmark::State& state) {
    PeerThread peer([](quint16& port) {
        auto responder = ackResponder();
        port = responder->localPort();
        return responder;
    });
    peer.start();
    peer.ready.acquire();
    roundTripsTo(state, peer.port);
    peer.quit();
    peer.wait();
}

// The download with a streaming view in front and the real loop driver running its tiers, so a
// frame set falls inside every wait of the transfer. Counts what reached the Controller: verified
// downloads, blocks resent, blocks the Controller could not take, and start commands other than the
// planned one.
void BM_DownloadShow1MiBStreamingView(benchmark::State& state) {
    QTemporaryDir controllerFiles;
    kxsim::ControllerSim sim(quietSim(controllerFiles.path()));
    if (!sim.start()) {
        state.SkipWithError("simulator port");
        return;
    }
    test::LoopbackPlatform platform;
    ControllerLink link(loopback(sim.port()), {platform, platform}, platform);
    sim.setToolPrivatePort(link.socket(ControllerLink::Endpoint::Private).localPort());
    FileTransfer transfer(link);
    ProcessCore core;
    core.tiers.liveOutput = [&link] { link.outputTick(); };
    LoopDriver driver(core, platform);
    driver.start();
    link.toggleConnection();
    if (!link.connected()) {
        state.SkipWithError("no connection");
        return;
    }
    constexpr int kStreamingView = 7;
    link.live().defineView(kStreamingView, {[](DmxFrame& frame) {
                                                for (std::size_t i = 1; i < frame.size(); ++i)
                                                    frame[i] = static_cast<std::uint8_t>(i * 7 + 1);
                                            },
                                            true});
    link.setView(kStreamingView);

    const QByteArray file = showLikeFile();
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(file.constData()),
                                 static_cast<std::size_t>(file.size()));
    const auto planned = startArguments(static_cast<std::uint32_t>(bytes.size()),
                                        additiveChecksum(bytes), FileType::Show);
    QByteArray plannedStart(1, static_cast<char>(cmd::kDownloadStart));
    plannedStart.append(reinterpret_cast<const char*>(planned.data()), planned.size());
    const QString path = platform.dir.filePath("S7420.K74");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(file);
    f.close();

    int verified = 0;
    int resends = 0;
    for (auto _ : state) {
        TextLog log;
        transfer.downloadFile(FileType::Show, path, log);
        if (transfer.transferSucceeded() == 1) ++verified;
        resends += static_cast<int>(log.text().count(transfer_log::kBlockResend));
    }
    int wrongStarts = 0;
    for (const kxsim::SimRecord& r : sim.commands(cmd::kDownloadStart))
        if (r.body != plannedStart) ++wrongStarts;
    const double runs = static_cast<double>(state.iterations());
    state.counters["verified"] = verified;
    state.counters["resends_per_run"] = resends / runs;
    state.counters["refused_blocks"] = sim.transfer().blocksRefused();
    state.counters["wrong_starts"] = wrongStarts;
}

BENCHMARK(BM_DownloadShow1MiB)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_DownloadShow1MiBBareResponder)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3);
BENCHMARK(BM_DownloadShow1MiBStreamingView)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(20);
BENCHMARK(BM_RoundTrips)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_DownloadShow1MiBSimOnItsThread)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3);
BENCHMARK(BM_RoundTripsResponderOnItsThread)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3);

}  // namespace
}  // namespace kx

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
