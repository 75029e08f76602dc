// The edit history of the Material editor on the largest Material (600 Steps of 40 Virtual
// Fixtures x 32 channels): the memory 200 value edits leave in the history under its bound, and
// the time of one undo, within the open Effect and across a bank switch.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "materials/material_bank_file.h"
#include "materials/material_editor.h"

namespace {

using namespace kx;

struct NoPrompts : Prompter, ProgramFolder {
    void message(const QString&) override {}
    bool askYesNo(const QString&) override { return true; }
    QString fileDialog(const FileDialog&) override { return {}; }
    QString programDir() const override { return QStringLiteral("/tmp"); }
};

struct NoImages : EffectImageStore {
    QByteArray image(int effect) const override { return effect == 1 ? first : QByteArray(); }
    bool setImage(int effect, const QByteArray& image) override {
        if (effect == 1) first = image;
        return true;
    }
    void clear() override { first.clear(); }
    QByteArray first;
};

Material largestMaterial() {
    Material m;
    m.setFixtureCount(kMaxVirtualFixtures);
    m.setChannelCount(kMaxMaterialChannels);
    m.setStepCount(kMaxSteps);
    m.setUnifiedTime(10);
    for (int s = 1; s <= kMaxSteps; ++s) {
        auto row = m.stepValues(s);
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = static_cast<std::uint8_t>(1 + (s + i) % 255);
    }
    return m;
}

// The editor on Material 1 of Effect 1's bank, its stores recorded.
struct Bench {
    Bench() : editor({*bank, lib, groups, names, output}, AppPaths::under("/tmp"), {io, io}) {
        bank->at(1, 1) = largestMaterial();
        editor.open(1, 1, "", "");
        editor.setHistory({&history,
                           [this] { return effect; },
                           [this](int e) { return switchEffect(e, effect, *bank, lib, images); },
                           {}});
    }
    // Edit i: one value of Step i on Virtual Fixture 1, channel 1 + i % 32.
    void edit(int i) {
        editor.selectStep(i % kMaxSteps);
        editor.enterValue(1 + i % kMaxMaterialChannels, i % 256);
        history.seal();
    }

    NoPrompts io;
    NoImages images;
    std::unique_ptr<MaterialBank> bank = std::make_unique<MaterialBank>();
    FixtureLibrary lib;
    FixtureGroups groups;
    ChannelFunctionNames names = defaultChannelFunctionNames();
    MaterialOutput output;
    EditHistory history;
    int effect = 1;
    MaterialEditor editor;
};

void reportFullHistory() {
    Bench b;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 1; i <= 200; ++i)
        b.edit(i);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "200 edits of the largest Material (%zu bytes a snapshot): %d entries kept, %.1f MiB "
        "held (bound %zu MiB), %.2f ms an edit\n",
        snapshotBytes(b.bank->at(1, 1)), b.history.entryCount(),
        static_cast<double>(b.history.bytes()) / (1 << 20), EditHistoryLimits{}.bytes >> 20,
        ms / 200);
}

// range(0) 1: the Material's Effect is no longer open, so each undo switches the bank back first
// (and the redo switches again).
void BM_UndoLargestMaterial(benchmark::State& state) {
    Bench b;
    b.edit(1);
    const bool across = state.range(0) == 1;
    for (auto _ : state) {
        if (across) switchEffect(2, b.effect, *b.bank, b.lib, b.images);
        const auto start = std::chrono::steady_clock::now();
        const Outcome out = b.history.undo();
        const auto end = std::chrono::steady_clock::now();
        if (!out.done) state.SkipWithError("undo refused");
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        b.history.redo();
    }
}
BENCHMARK(BM_UndoLargestMaterial)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("bankSwitch")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    reportFullHistory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
