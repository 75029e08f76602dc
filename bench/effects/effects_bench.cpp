// The Effect preview tick with twelve large Materials on one Beat, and save + load of a show
// filled close to the Show File's 4,194,305-byte limit, and the crash-recovery check of that show
// (the whole show written to the recovery file, or only digested when nothing changed, beside
// the main loop; and the copy of the show the loop itself makes for it).
#include <benchmark/benchmark.h>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

#include "effects/effect_output.h"
#include "effects/effect_record.h"
#include "fixtures/action_thresholds.h"
#include "fixtures/fixture_files.h"
#include "largest_show.h"
#include "materials/material_bank_file.h"
#include "materials/materials_section.h"
#include "roomctl/room_control.h"
#include "scenes/scene_table.h"
#include "show/effect_images.h"
#include "show/show.h"
#include "show/show_recovery.h"

namespace {

using namespace kx;
using bench::fullRoom;
using bench::largeMaterial;
using bench::largestShow;

// Twelve Materials of 600 Steps x 40 x 32 on one Beat. range(0) 1: every Virtual Fixture of each
// drives all 100 fixtures of page 0, the heaviest Beat (each map at its 32,767-channel limit).
void BM_EffectOutputTickTwelveLargeMaterials(benchmark::State& state) {
    const FixtureLibrary lib = fullRoom();
    auto effects = std::make_unique<EffectTable>();
    auto bank = std::make_unique<MaterialBank>();
    Effect& fx = effects->at(1);
    setBarCount(fx, kNoBassPart, 1);
    setBeatsPerBar(fx, kNoBassPart, 1);
    for (int s = 1; s <= 12; ++s) {
        bank->at(1 + s % 3, s) = largeMaterial(s, 600, state.range(0) != 0);
        setBeatSelection(fx, kNoBassPart, 1, 1, 1 + s % 3, s, 1);
    }
    EffectEditorPosition pos;
    pos.beat = 1;
    MaterialOutput engine;
    JumpRequest jump;
    SimulatedDrum drum{{AutoDrum::HalfSecond, 0}, 0};
    DmxFrame frame{};
    for (auto _ : state) {
        jump.beginTick();
        effectOutputTick(1, *effects, *bank, pos, lib, engine, jump, drum, frame);
        jump.endTick();
        benchmark::DoNotOptimize(frame.data());
    }
}
BENCHMARK(BM_EffectOutputTickTwelveLargeMaterials)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("allFixtures")
    ->Unit(benchmark::kMicrosecond);

// The largest show with its Effect Material Images in a folder of their own.
struct LargestShowOnDisk {
    QTemporaryDir dir;
    const AppPaths paths = AppPaths::under(dir.path());
    const bool folder = QDir().mkpath(paths.scTemp);  // before the images are written
    // The images' owner works on a show of its own here: only its files are used.
    Show scratch;
    EffectImages images{scratch, paths};
    std::unique_ptr<Show> live = largestShow(images);
};

void BM_SaveAndLoadLargestShow(benchmark::State& state) {
    LargestShowOnDisk disk;
    const AppPaths& paths = disk.paths;
    EffectImages& images = disk.images;
    auto& live = disk.live;
    const QString stamp = QStringLiteral("2026/12/9 14:00:00 C:\\KX7420");
    qsizetype size = 0;
    const ShowBinding binding = showBinding(*live, images, paths);
    for (auto _ : state) {
        const ShowBuild build = buildShowFile(binding.sections(), stamp);
        if (!build.bytes) {
            state.SkipWithError(build.tooLarge ? "show too large" : "save failed");
            break;
        }
        size = build.bytes->size();
        auto loaded = std::make_unique<Show>();
        StagedShow staged = showBinding(*loaded, images, paths).stage();
        QStringList notes;
        if (parseShowFile(*build.bytes, staged.sections, notes) != ParseResult::Ok) {
            state.SkipWithError("load failed");
            break;
        }
        staged.commit();
        benchmark::DoNotOptimize(loaded.get());
    }
    state.counters["file_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_SaveAndLoadLargestShow)->Unit(benchmark::kMillisecond);

struct StillClock : Clock {
    std::uint32_t milliseconds() override { return 0; }
    void sleep(int) override {}
    QDateTime localTime() override { return QDateTime(QDate(2026, 12, 10), QTime(3, 0)); }
};

// Arg 1: an edit before every check, so each one writes the file; 0: nothing changed, so the
// check is the digest alone (what an idle program pays every 30 s).
void BM_RecoveryCheckLargestShow(benchmark::State& state) {
    LargestShowOnDisk disk;
    auto& live = disk.live;
    StillClock clock;
    ShowRecovery recovery(*live, disk.images, disk.paths, clock);
    recovery.saved();
    const bool edit = state.range(0) == 1;
    int n = 0;
    int writes = 0;
    for (auto _ : state) {
        if (edit) setSceneName(live->scenes, 1, QString::number(++n));
        writes += recovery.keepIfChanged() ? 1 : 0;
    }
    state.counters["writes"] = writes;
    state.counters["file_bytes"] = static_cast<double>(QFileInfo(disk.paths.recoveryFile).size());
}
BENCHMARK(BM_RecoveryCheckLargestShow)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("edited")
    ->Unit(benchmark::kMillisecond);

// What the check costs the main loop itself: the copy of the show it then works on beside it.
void BM_RecoveryCopyLargestShow(benchmark::State& state) {
    LargestShowOnDisk disk;
    for (auto _ : state) {
        auto copy = std::make_shared<const Show>(*disk.live);
        benchmark::DoNotOptimize(copy.get());
    }
}
BENCHMARK(BM_RecoveryCopyLargestShow)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
