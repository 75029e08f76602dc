// Save and load of the largest show through the Show File (build, atomic write with fsync, read,
// parse, commit) against a raw write + fsync and read of the same bytes, in one run, with the
// allocator set as the program sets it; prints the times and the ratio of the sums beside its
// limit of 2, against a raw read into a fresh buffer (as a program reads a file) and, stricter,
// into a buffer already in memory. Then they run side by side, round after round: a disk (or a
// shared host) slower for a while slows them alike, and the medians of the rounds give the ratio
// the drift of one run cannot.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <iostream>
#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "base/large_buffers.h"
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

void BM_SaveLargestShow(benchmark::State& state) {
    LargestShowOnDisk& d = disk();
    for (auto _ : state) {
        if (!d.file.saveShow(d.platform)) {
            state.SkipWithError("save failed");
            break;
        }
    }
    state.counters["file_bytes"] = static_cast<double>(QFileInfo(d.paths.showFile).size());
}
BENCHMARK(BM_SaveLargestShow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadLargestShow(benchmark::State& state) {
    LargestShowOnDisk& d = disk();
    d.file.saveShow(d.platform);
    for (auto _ : state) {
        if (d.file.loadShow(d.platform) != LoadResult::Loaded) {
            state.SkipWithError("load failed");
            break;
        }
    }
}
BENCHMARK(BM_LoadLargestShow)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same bytes as the Show File, what the disk allows: written to a fresh file and fsync'ed,
// then read back whole.
struct RawFile {
    QByteArray bytes;
    QByteArray path;
    RawFile() {
        LargestShowOnDisk& d = disk();
        d.file.saveShow(d.platform);
        QFile shown(d.paths.showFile);
        shown.open(QIODevice::ReadOnly);
        bytes = shown.readAll();
        path = QFile::encodeName(d.dir.filePath("raw.bin"));
    }
    bool write() const {
        const int out = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        bool ok = out >= 0 && ::write(out, bytes.constData(),
                                      static_cast<std::size_t>(bytes.size())) == bytes.size();
        ok = ok && ::fsync(out) == 0;
        if (out >= 0) ::close(out);
        return ok;
    }
    bool read(char* into) const {
        const int in = ::open(path.constData(), O_RDONLY);
        const bool ok =
            in >= 0 && ::read(in, into, static_cast<std::size_t>(bytes.size())) == bytes.size();
        if (in >= 0) ::close(in);
        return ok;
    }
    // Into a fresh buffer of the file's size from the same allocator, as a program reads a file.
    bool readFresh() const {
        const std::unique_ptr<char[]> back(new char[static_cast<std::size_t>(bytes.size())]);
        return read(back.get());
    }
};

void BM_RawWriteFsync(benchmark::State& state) {
    const RawFile raw;
    for (auto _ : state) {
        if (!raw.write()) {
            state.SkipWithError("raw write failed");
            break;
        }
    }
    state.counters["file_bytes"] = static_cast<double>(raw.bytes.size());
}
BENCHMARK(BM_RawWriteFsync)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RawRead(benchmark::State& state) {
    const RawFile raw;
    if (!raw.write()) state.SkipWithError("raw write failed");
    for (auto _ : state) {
        if (!raw.readFresh()) {
            state.SkipWithError("raw read failed");
            break;
        }
    }
}
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond)->UseRealTime();

// The stricter baseline: the memory read into is already the process's, on huge pages and
// touched before, the fastest a read can go.
std::shared_ptr<std::uint8_t> warmBuffer(const RawFile& raw) {
    auto block = zeroedBlock(static_cast<std::size_t>(raw.bytes.size()));
    std::fill_n(block.get(), raw.bytes.size(), std::uint8_t{1});
    return block;
}

void BM_RawReadWarm(benchmark::State& state) {
    const RawFile raw;
    const auto back = warmBuffer(raw);
    if (!raw.write()) state.SkipWithError("raw write failed");
    for (auto _ : state) {
        if (!raw.read(reinterpret_cast<char*>(back.get()))) {
            state.SkipWithError("raw read failed");
            break;
        }
    }
}
BENCHMARK(BM_RawReadWarm)->Unit(benchmark::kMillisecond)->UseRealTime();

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

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

// A technician's saves and loads are seconds apart: each starts once what the one before left to
// the machine (the replaced file given back, the disk's writeback) is done.
template <typename F>
double msOf(F&& f) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto t0 = std::chrono::steady_clock::now();
    const bool ok = f();
    const std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - t0;
    return ok ? ms.count() : -1.0;
}

void interleaved(int rounds) {
    LargestShowOnDisk& d = disk();
    const RawFile raw;
    const auto warm = warmBuffer(raw);
    std::vector<double> save, load, write, read, readWarm, ratio, ratioWarm;
    for (int r = 0; r < rounds; ++r) {
        const double s = msOf([&d] { return d.file.saveShow(d.platform); });
        const double l = msOf([&d] { return d.file.loadShow(d.platform) == LoadResult::Loaded; });
        const double w = msOf([&raw] { return raw.write(); });
        const double b = msOf([&raw] { return raw.readFresh(); });
        const double c =
            msOf([&raw, &warm] { return raw.read(reinterpret_cast<char*>(warm.get())); });
        if (s < 0 || l < 0 || w < 0 || b < 0 || c < 0) {
            std::cout << "interleaved: a save, load or raw access failed\n";
            return;
        }
        save.push_back(s);
        load.push_back(l);
        write.push_back(w);
        read.push_back(b);
        readWarm.push_back(c);
        ratio.push_back((s + l) / (w + b));
        ratioWarm.push_back((s + l) / (w + c));
    }
    const double program = median(save) + median(load);
    std::cout << "side by side, " << rounds << " rounds, medians: save " << median(save)
              << " ms + load " << median(load) << " ms; raw write + fsync " << median(write)
              << " ms, raw read " << median(read) << " ms (fresh buffer), " << median(readWarm)
              << " ms (buffer in memory)\n"
              << "  ratio against a read into a fresh buffer "
              << program / (median(write) + median(read)) << " (limit 2); rounds "
              << percentile(ratio, 0.1) << " (p10) " << median(ratio) << " (median) "
              << percentile(ratio, 0.9) << " (p90)\n"
              << "  ratio against a read into a buffer in memory "
              << program / (median(write) + median(readWarm)) << " (limit 2); rounds "
              << percentile(ratioWarm, 0.1) << " (p10) " << median(ratioWarm) << " (median) "
              << percentile(ratioWarm, 0.9) << " (p90)\n";
}

}  // namespace

int main(int argc, char** argv) {
    // The allocator as the program sets it.
    tuneAllocator();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ms = [&reporter](const char* name) {
        const auto it = reporter.msPerIteration.find(name);
        return it == reporter.msPerIteration.end() ? -1.0 : it->second;
    };
    const double save = ms("BM_SaveLargestShow");
    const double load = ms("BM_LoadLargestShow");
    const double write = ms("BM_RawWriteFsync");
    const double read = ms("BM_RawRead");
    const double readWarm = ms("BM_RawReadWarm");
    if (save >= 0 && load >= 0 && write > 0 && read >= 0 && readWarm >= 0) {
        std::cout << "largest show: save " << save << " ms + load " << load
                  << " ms; raw write + fsync " << write << " ms, raw read " << read
                  << " ms (fresh buffer), " << readWarm << " ms (buffer in memory); ratio "
                  << (save + load) / (write + read) << " and " << (save + load) / (write + readWarm)
                  << " (limit 2)\n";
    }
    interleaved(40);
    benchmark::Shutdown();
}
