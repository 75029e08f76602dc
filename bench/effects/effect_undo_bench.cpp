// One undo of a whole-bank change: "清空效果" on an Effect whose 240 Materials are all large
// (40 Virtual Fixtures x 32 channels x 100 Steps of values each), then Ctrl+Z's work: the Effect
// and its bank put back from the history's snapshot.
#include <benchmark/benchmark.h>

#include "effects/effect_editor.h"
#include "materials/memory_images.h"

namespace {

struct AlwaysYes : kx::Prompter {
    void message(const QString&) override {}
    bool askYesNo(const QString&) override { return true; }
    QString fileDialog(const FileDialog&) override { return {}; }
};

constexpr int kSteps = 100;

void BM_UndoClearEffect(benchmark::State& state) {
    auto effects = std::make_unique<kx::EffectTable>();
    auto bank = std::make_unique<kx::MaterialBank>();
    for (int n = 1; n <= kx::kMaterialsPerBank; ++n) {
        kx::Material& m = bank->byNumber(n);
        m.setFixtureCount(kx::kMaxVirtualFixtures);
        m.setChannelCount(kx::kMaxMaterialChannels);
        m.setStepCount(kSteps);
        for (int s = 1; s <= kSteps; ++s) {
            auto row = m.stepValues(s);
            for (std::size_t i = 0; i < row.size(); ++i)
                row[i] = static_cast<std::uint8_t>(1 + (n + s + i) % 255);
        }
    }
    int current = 1;
    kx::FixtureLibrary lib;
    kx::test::MemoryImages images;
    kx::MaterialOutput engine;
    std::uint8_t jump = 0;
    kx::EffectEditor editor({*effects, *bank, current, lib, images, engine, jump});
    kx::EditHistory history;
    editor.setHistory(&history, [] {});
    editor.enter();
    AlwaysYes yes;
    for (auto _ : state) {
        state.PauseTiming();
        history.clear();
        editor.clearEffect(yes);
        state.ResumeTiming();
        history.undo();
    }
    state.counters["bankMiB"] = static_cast<double>(kx::snapshotBytes(*bank)) / (1 << 20);
}
BENCHMARK(BM_UndoClearEffect)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
