// Save and load of a Show File whose library holds 200 patched 32-channel fixtures: in memory
// (build / parse) and through the disk (saveShow / loadShow with the atomic write).
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "base/clock.h"
#include "base/event_pump.h"
#include "base/paths.h"
#include "base/program_folder.h"
#include "base/prompter.h"
#include "show/effect_images.h"
#include "show/show.h"

namespace {

using namespace kx;

class BenchPlatform : public Clock, public EventPump, public Prompter, public ProgramFolder {
  public:
    std::uint32_t milliseconds() override { return ++clock; }
    void sleep(int ms) override { clock += static_cast<std::uint32_t>(ms); }
    void processEvents(int) override { ++clock; }
    QDateTime localTime() override { return QDateTime(QDate(2026, 3, 7), QTime(9, 5, 4)); }
    void message(const QString&) override { ++messages; }
    bool askYesNo(const QString&) override { return false; }
    QString fileDialog(const FileDialog&) override { return {}; }
    QString programDir() const override { return dir.path(); }

    std::uint32_t clock = 0;
    int messages = 0;
    QTemporaryDir dir;
};

void fillShow(Show& show) {
    for (int page = 0; page < libraryPages; ++page) {
        for (int n = 1; n <= kFixturesPerPage; ++n) {
            Fixture& f = show.library.at(page, n);
            f.name = QStringLiteral("摇头灯 %1-%2 Beam 330W").arg(page + 1).arg(n);
            f.channelCount = kMaxFixtureChannels;
            f.port = static_cast<std::uint8_t>(n % 4);
            f.startAddress = static_cast<std::int16_t>(1 + (n % 15) * 32);
            for (int ch = 0; ch < kMaxFixtureChannels; ++ch) {
                f.functions[ch] = static_cast<std::uint8_t>((ch * 5 + n) % 150);
                f.testValues[ch] = static_cast<std::uint8_t>(ch * 8);
                f.adjustValues[ch] = static_cast<std::uint8_t>(255 - ch);
            }
        }
    }
}

struct Fixture200 {
    BenchPlatform platform;
    Show show;
    AppPaths paths = AppPaths::under(platform.dir.path());
    EffectImages images{show, paths};
    ShowFile file = makeShowFile(show, images, paths, {platform, platform});
    Fixture200() { fillShow(show); }
};

void BM_BuildShowFile(benchmark::State& state) {
    Fixture200 f;
    for (auto _ : state) {
        auto build = buildShowFile(showBinding(f.show, f.images, f.paths).sections(), "stamp");
        benchmark::DoNotOptimize(build);
    }
}
BENCHMARK(BM_BuildShowFile)->Unit(benchmark::kMicrosecond);

void BM_ParseShowFile(benchmark::State& state) {
    Fixture200 f;
    const QByteArray bytes =
        buildShowFile(showBinding(f.show, f.images, f.paths).sections(), "stamp").bytes.value();
    state.counters["bytes"] = static_cast<double>(bytes.size());
    for (auto _ : state) {
        StagedShow staged = showBinding(f.show, f.images, f.paths).stage();
        QStringList notes;
        benchmark::DoNotOptimize(parseShowFile(bytes, staged.sections, notes));
        staged.commit();
    }
}
BENCHMARK(BM_ParseShowFile)->Unit(benchmark::kMicrosecond);

void BM_SaveShow(benchmark::State& state) {
    Fixture200 f;
    for (auto _ : state)
        benchmark::DoNotOptimize(f.file.saveShow(f.platform));
    if (f.platform.messages != 0) state.SkipWithError("save reported a failure");
}
BENCHMARK(BM_SaveShow)->Unit(benchmark::kMicrosecond);

void BM_LoadShow(benchmark::State& state) {
    Fixture200 f;
    f.file.saveShow(f.platform);
    for (auto _ : state)
        benchmark::DoNotOptimize(f.file.loadShow(f.platform));
    if (f.platform.messages != 0) state.SkipWithError("load reported a failure");
}
BENCHMARK(BM_LoadShow)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
