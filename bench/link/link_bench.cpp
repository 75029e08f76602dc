// Live DMX as the Controller sees it: the tool streams frame sets from the main loop's 100 ms
// tier for --stream-seconds (default 30) to a simulated Controller running on its own thread;
// reported are the 0x6A period's deviation from 100 ms (median, 99th percentile, worst) and the
// CPU the tool's thread used meanwhile.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <vector>

#include "app/loop_driver.h"
#include "app/process_core.h"
#include "controller_sim.h"
#include "link/controller_link.h"
#include "link/loopback_platform.h"

namespace {

int g_streamSeconds = 30;

double threadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// The simulated Controller on a thread of its own, so the tool's thread measures only the tool.
class SimThread : public QThread {
  public:
    explicit SimThread(QString folder) : m_folder(std::move(folder)) {}
    quint16 port = 0;
    std::vector<qint64> frameTimes;
    QSemaphore ready;

  protected:
    void run() override {
        kxsim::SimConfig c;
        c.port = 0;
        c.folder = m_folder;
        c.logMemoryLines = 64;
        kxsim::ControllerSim sim(c);
        sim.start();
        port = sim.port();
        ready.release();
        exec();
        frameTimes = sim.frameTimesNs(kx::cmd::kDmxPortsAB);
    }

  private:
    QString m_folder;
};

// |period - 100 ms| between consecutive times (ns).
std::vector<double> periodDeviations(const std::vector<qint64>& times) {
    std::vector<double> out;
    for (std::size_t i = 1; i < times.size(); ++i) {
        out.push_back(std::abs(static_cast<double>(times[i] - times[i - 1]) * 1e-6 - 100.0));
    }
    return out;
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const auto i = static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size()))) - 1;
    return v[std::min(i, v.size() - 1)];
}

void BM_LiveStreaming(benchmark::State& state) {
    for (auto _ : state) {
        kx::test::LoopbackPlatform platform;
        QTemporaryDir files;
        SimThread simThread(files.path());
        simThread.start();
        simThread.ready.acquire();

        kx::LinkConfig lc;
        lc.commandHost = lc.broadcastHost = "127.0.0.1";
        lc.commandPort = lc.broadcastPort = simThread.port;
        lc.localAddress = QHostAddress(QHostAddress::LocalHost);
        kx::ControllerLink link(lc, {platform, platform}, platform);
        // An Effect-like output: every channel of every port changes on every tick. Its call times
        // tell the tool's own timing apart from the delivery to the Controller.
        std::uint8_t step = 0;
        QElapsedTimer clock;
        clock.start();
        std::vector<qint64> tickTimes;
        constexpr int kEffectView = 9;
        link.live().defineView(kEffectView, {[&](kx::DmxFrame& f) {
                                                 tickTimes.push_back(clock.nsecsElapsed());
                                                 ++step;
                                                 for (int i = 1; i <= 2560; ++i)
                                                     f[static_cast<std::size_t>(i)] =
                                                         static_cast<std::uint8_t>(i + step);
                                             },
                                             true});
        link.setView(kEffectView);
        link.toggleConnection();
        if (!link.connected()) {
            state.SkipWithError("the simulated Controller did not answer");
            simThread.quit();
            simThread.wait();
            return;
        }

        // The program's loop: the process core's tiers run by a precise single-shot timer.
        kx::ProcessCore core;
        core.tiers.liveOutput = [&] { link.outputTick(); };
        core.tiers.announce = [&] { link.announceTick(); };
        kx::LoopDriver driver(core, platform);
        QEventLoop loop;
        QTimer::singleShot(g_streamSeconds * 1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        const double cpu0 = threadCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        driver.start();
        loop.exec();
        const double cpuUsed = threadCpuSeconds() - cpu0;
        const double wallSeconds = static_cast<double>(wall.nsecsElapsed()) * 1e-9;

        link.releaseOnlineMode();
        simThread.quit();
        simThread.wait();

        const std::vector<double> deviations = periodDeviations(simThread.frameTimes);
        state.counters["frames"] = static_cast<double>(simThread.frameTimes.size());
        state.counters["tick_p99_dev_ms"] = percentile(periodDeviations(tickTimes), 0.99);
        state.counters["median_dev_ms"] = percentile(deviations, 0.5);
        state.counters["p99_dev_ms"] = percentile(deviations, 0.99);
        state.counters["max_dev_ms"] = percentile(deviations, 1.0);
        state.counters["tool_cpu_pct"] = 100.0 * cpuUsed / wallSeconds;
    }
}
BENCHMARK(BM_LiveStreaming)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// Building one frame set's arguments: the per-tick copying.
void BM_FrameSetArguments(benchmark::State& state) {
    kx::DmxFrame frame{};
    for (int i = 0; i < kx::kDmxFrameSize; ++i)
        frame[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    std::array<std::uint8_t, kx::kDmxPairArguments> ab{};
    std::array<std::uint8_t, kx::kDmxPairArguments> cd{};
    std::array<std::uint8_t, kx::kDmxVjArguments> vj{};
    for (auto _ : state) {
        kx::fillDmxPortsAB(frame, ab);
        kx::fillDmxPortsCD(frame, cd);
        kx::fillDmxPortVJ(frame, 1, vj);
        benchmark::DoNotOptimize(ab);
        benchmark::DoNotOptimize(cd);
        benchmark::DoNotOptimize(vj);
    }
}
BENCHMARK(BM_FrameSetArguments);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--stream-seconds=", 17) == 0) {
            g_streamSeconds = std::max(1, std::atoi(argv[i] + 17));
        } else {
            args.push_back(argv[i]);
        }
    }
    int n = static_cast<int>(args.size());
    benchmark::Initialize(&n, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
