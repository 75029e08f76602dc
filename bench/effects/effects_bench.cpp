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
#include "materials/material_bank_file.h"
#include "materials/materials_section.h"
#include "roomctl/room_control.h"
#include "scenes/scene_table.h"
#include "show/effect_images.h"
#include "show/show.h"
#include "show/show_recovery.h"

namespace {

using namespace kx;

// 200 fixtures of 32 channels, Channel Function k on channel k, spread over the five ports.
FixtureLibrary fullRoom() {
    FixtureLibrary lib;
    for (int page = 0; page < libraryPages; ++page) {
        for (int n = 1; n <= kFixturesPerPage; ++n) {
            Fixture& f = lib.at(page, n);
            f.port = static_cast<std::uint8_t>(n % kPortCount);
            f.startAddress = static_cast<std::int16_t>(1 + (n / kPortCount) * 24 % 480);
            f.channelCount = kMaxFixtureChannels;
            for (int ch = 0; ch < kMaxFixtureChannels; ++ch) {
                f.functions[ch] = static_cast<std::uint8_t>(ch + 1);
            }
        }
    }
    return lib;
}

// 40 Virtual Fixtures x 32 channels x `steps` Steps of changing values, fading, every Virtual
// Fixture driving five fixtures on each page (allFixtures: every fixture of page 0).
Material largeMaterial(int seed, int steps, bool allFixtures = false) {
    Material m;
    m.setFixtureCount(kMaxVirtualFixtures);
    m.setChannelCount(kMaxMaterialChannels);
    for (int k = 1; k <= kMaxMaterialChannels; ++k)
        m.setChannelFunction(k, k);
    m.setStepCount(steps);
    m.setUnifiedTime(3);
    m.setAllStepsFade(1);
    m.setJumpSize(4);
    for (int s = 1; s <= steps; ++s) {
        auto values = m.stepValues(s);
        for (std::size_t i = 0; i < values.size(); ++i) {
            values[i] = static_cast<std::uint8_t>(1 + (seed * 7 + s * 13 + i) % 255);
        }
    }
    for (int v = 1; v <= kMaxVirtualFixtures; ++v) {
        if (allFixtures) {
            for (int n = 1; n <= kFixturesPerPage; ++n)
                m.setMapped(v, 0, n, true);
            continue;
        }
        for (int page = 0; page < libraryPages; ++page) {
            for (int i = 0; i < 5; ++i)
                m.setMapped(v, page, 1 + (v * 5 + i + seed) % 100, true);
        }
    }
    return m;
}

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

// Every Effect with both parts of 48 Bars x 8 Beats, 40 Materials on every Beat; three Effects
// with a Material of 600 Steps x 40 x 32 values (one of them open); every Scene and remark set.
std::unique_ptr<Show> largestShow(EffectImageStore& images) {
    auto show = std::make_unique<Show>();
    show->library = fullRoom();
    for (int n = 1; n <= kSceneCount; ++n) {
        setSceneName(show->scenes, n, QString(20, QChar(0x573A)));
        setSceneEffect(show->scenes, n, n);
        for (int k = 1; k <= kRelayChannels; ++k)
            setRelay(show->scenes, n, k, 1);
        for (int k = 1; k <= kDimmerChannels; ++k)
            setDimmerLevel(show->scenes, n, k, 9);
    }
    for (Effect& fx : show->effects.effects) {
        fx.remark = QString(20, QChar(0x6548));
        for (ModuleSettings& m : fx.modules)
            m.remark = QString(20, QChar(0x6A21));
        for (int part : {kNoBassPart, kBassPart}) {
            setBarCount(fx, part, kMaxBars);
            setBeatsPerBar(fx, part, kMaxBeats);
            for (int bar = 1; bar <= kMaxBars; ++bar) {
                for (int beat = 1; beat <= kMaxBeats; ++beat) {
                    MaterialSet& set = fx.parts[part].selections[beatKey(bar, beat)];
                    for (int i = 0; i < 40; ++i)
                        set.set((bar * 7 + beat * 3 + i * 6) % 240);
                }
            }
        }
    }
    for (int e : {10, 20}) {
        auto bank = std::make_unique<MaterialBank>();
        bank->at(1, 1) = largeMaterial(e, 600);
        saveEffectImage(images, e, *bank, show->library);
    }
    show->currentEffect = 30;
    show->materials.at(20, 12) = largeMaterial(30, 600);
    return show;
}

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
