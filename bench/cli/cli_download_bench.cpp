// Wall time of one Show File download to many simulated Controllers at once, as kx7420-cli does
// it: 1, 8 and 32 rooms (kx7420-sim processes on 127.0.0.2 ...) with 8 and 32 rooms at a time;
// the Controllers answer at once, or 2 ms late as one across a real network does.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <vector>

#include <sys/resource.h>

#include "base/file_io.h"
#include "cli/download_batch.h"
#include "cli/memory_images.h"
#include "show/show.h"

namespace {

// CPU seconds this process (the tool's side) has used so far.
double toolCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

constexpr int kMaxRooms = 32;
constexpr quint16 kPort = 47420;

// About 1 MiB of Show File: two large Materials whose values do not pack away.
QByteArray megabyteShow() {
    auto show = std::make_unique<kx::Show>();
    kx::MemoryImages images;
    show->currentEffect = 1;
    for (int slot = 1; slot <= 2; ++slot) {
        kx::Material& m = show->materials.at(1, slot);
        m.setFixtureCount(40);
        m.setChannelCount(32);
        m.setStepCount(410);
        for (int step = 1; step <= 410; ++step)
            for (int vf = 1; vf <= 40; ++vf)
                for (int ch = 1; ch <= 32; ++ch)
                    m.setValue(step, vf, ch, 1 + (step * 31 + vf * 7 + ch * slot) % 250);
    }
    kx::StagedEffectImages unused;
    return *kx::buildShowFile(kx::showSections(*show, images, unused), "bench").bytes;
}

struct Venue {
    QTemporaryDir dir;
    QString showPath;
    std::vector<std::unique_ptr<QProcess>> sims;
    int delayMs;

    explicit Venue(int delay) : delayMs(delay) {
        showPath = dir.filePath("S7420.K74");
        kx::writeWholeFile(showPath, megabyteShow());
        for (int i = 0; i < kMaxRooms; ++i) {
            auto p = std::make_unique<QProcess>();
            const QString folder = dir.filePath(QString::number(i));
            QDir().mkpath(folder);
            p->start(KX_SIM_PATH,
                     {"--address", QStringLiteral("127.0.0.%1").arg(2 + i), "--port",
                      QString::number(kPort), "--folder", folder, "--quiet", "--memory-log", "0",
                      "--keepalive-ms", "0", "--delay-ms", QString::number(delayMs)});
            p->waitForStarted();
            sims.push_back(std::move(p));
        }
        QThread::msleep(500);
    }
    ~Venue() {
        for (auto& p : sims) {
            p->terminate();
            p->waitForFinished(2000);
        }
    }
};

// The Controllers of the current reply delay; one set runs at a time.
Venue& venue(int delayMs) {
    static std::unique_ptr<Venue> v;
    if (!v || v->delayMs != delayMs) {
        v.reset();
        v = std::make_unique<Venue>(delayMs);
    }
    return *v;
}

void BM_DownloadToRooms(benchmark::State& state) {
    Venue& v = venue(static_cast<int>(state.range(2)));
    const int rooms = static_cast<int>(state.range(0));
    const int parallel = static_cast<int>(state.range(1));
    std::vector<kx::Room> list;
    for (int i = 0; i < rooms; ++i) {
        kx::Room r;
        r.name = QString::number(101 + i);
        r.host = QStringLiteral("127.0.0.%1").arg(2 + i);
        r.address = QHostAddress(r.host);
        r.port = kPort;
        list.push_back(r);
    }
    int verified = 0;
    const double cpuBefore = toolCpuSeconds();
    for (auto _ : state) {
        kx::DownloadBatch batch(v.showPath, list, parallel);
        QEventLoop loop;
        batch.finished = [&loop] { loop.quit(); };
        batch.start();
        loop.exec();
        for (const kx::RoomOutcome& o : batch.outcomes())
            verified += o.verified ? 1 : 0;
    }
    // What the tool itself spends per room: the rest of the wall time is the round trips and the
    // simulated Controllers, which share the same cores here.
    state.counters["toolCpuMsPerRoom"] =
        (toolCpuSeconds() - cpuBefore) * 1000.0 / static_cast<double>(state.iterations() * rooms);
    state.counters["verified"] = benchmark::Counter(verified, benchmark::Counter::kAvgIterations);
    state.counters["MiB"] = static_cast<double>(kx::readWholeFile(v.showPath)->size()) / 1048576.0;
}
BENCHMARK(BM_DownloadToRooms)
    ->ArgsProduct({{1, 8, 32}, {8, 32}, {0, 2}})
    ->ArgNames({"rooms", "parallel", "replyDelayMs"})
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
