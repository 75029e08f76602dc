// Save and load of the largest show through the Show File (build, atomic write with fsync, read,
// parse, commit) against a raw write + fsync and read of the same number of bytes, in one run;
// prints the ratio beside its limit of 2.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <iostream>
#include <map>
#include <memory>
#include <vector>

#include "largest_show.h"
#include "show/effect_images.h"

namespace {

using namespace kx;

class BenchPlatform : public Clock, public EventPump, public Prompter {
  public:
    std::uint32_t milliseconds() override { return 0; }
    void sleep(int) override {}
    void processEvents(int) override {}
    QDateTime localTime() override { return QDateTime(QDate(2026, 12, 10), QTime(9, 5, 4)); }
    void message(const QString&) override { ++messages; }
    bool askYesNo(const QString&) override { return false; }
    QString fileDialog(const FileDialog&) override { return {}; }
    int messages = 0;
};

struct LargestShowOnDisk {
    QTemporaryDir dir;
    const AppPaths paths = AppPaths::under(dir.path());
    const bool folder = QDir().mkpath(paths.scTemp);
    Show scratch;
    EffectImages scratchImages{scratch, paths};
    std::unique_ptr<Show> live = bench::largestShow(scratchImages);
    EffectImages images{*live, paths};
    BenchPlatform platform;
    ShowFile file = makeShowFile(*live, images, paths, {platform, platform});
};

LargestShowOnDisk& disk() {
    static LargestShowOnDisk d;
    return d;
}

void BM_SaveAndLoadLargestShow(benchmark::State& state) {
    LargestShowOnDisk& d = disk();
    for (auto _ : state) {
        if (!d.file.saveShow(d.platform) || d.file.loadShow(d.platform) != LoadResult::Loaded) {
            state.SkipWithError("save or load failed");
            break;
        }
    }
    state.counters["file_bytes"] = static_cast<double>(QFileInfo(d.paths.showFile).size());
}
BENCHMARK(BM_SaveAndLoadLargestShow)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same bytes written to a fresh file, fsync'ed, and read back whole: what the disk allows.
void BM_RawWriteFsyncRead(benchmark::State& state) {
    LargestShowOnDisk& d = disk();
    d.file.saveShow(d.platform);
    QFile shown(d.paths.showFile);
    shown.open(QIODevice::ReadOnly);
    const QByteArray bytes = shown.readAll();
    const QByteArray path = QFile::encodeName(d.dir.filePath("raw.bin"));
    std::vector<char> back(static_cast<std::size_t>(bytes.size()));
    for (auto _ : state) {
        const int out = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        bool ok = out >= 0 && ::write(out, bytes.constData(),
                                      static_cast<std::size_t>(bytes.size())) == bytes.size();
        ok = ok && ::fsync(out) == 0;
        if (out >= 0) ::close(out);
        const int in = ::open(path.constData(), O_RDONLY);
        ok = ok && in >= 0 && ::read(in, back.data(), back.size()) == bytes.size();
        if (in >= 0) ::close(in);
        if (!ok) {
            state.SkipWithError("raw I/O failed");
            break;
        }
    }
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_RawWriteFsyncRead)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps each benchmark's time per iteration for the ratio printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                msPerIteration[r.run_name.function_name] = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> msPerIteration;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto save = reporter.msPerIteration.find("BM_SaveAndLoadLargestShow");
    const auto raw = reporter.msPerIteration.find("BM_RawWriteFsyncRead");
    if (save != reporter.msPerIteration.end() && raw != reporter.msPerIteration.end()) {
        std::cout << "save + load of the largest show: " << save->second << " ms, raw write + fsync"
                  << " + read: " << raw->second << " ms, ratio " << save->second / raw->second
                  << " (limit 2)\n";
    }
    benchmark::Shutdown();
}
