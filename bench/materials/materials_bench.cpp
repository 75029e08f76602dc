// One output tick of a Material of 40 Virtual Fixtures x 32 channels on 100 patched fixtures (the
// demonstration run and the Material editor's static preview), the compilation the Output Map
// cache saves, and the resident memory of a bank whose Materials fill the largest Show File.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <QFile>
#include <cstdio>
#include <memory>

#include "materials/material_bank_file.h"
#include "materials/material_output.h"

namespace {

using namespace kx;

// 100 fixtures of 32 channels on page 0, ports A-D; channel i carries function 90 + i.
FixtureLibrary hundredFixtures() {
    FixtureLibrary lib;
    for (int n = 1; n <= kFixturesPerPage; ++n) {
        Fixture& f = lib.at(0, n);
        f.channelCount = kMaxFixtureChannels;
        f.port = static_cast<std::uint8_t>((n - 1) / 16);
        f.startAddress = static_cast<std::int16_t>(1 + ((n - 1) % 16) * 32);
        for (int i = 0; i < kMaxFixtureChannels; ++i) {
            f.functions[i] = static_cast<std::uint8_t>(91 + i);
            f.adjustValues[i] = static_cast<std::uint8_t>(i);
        }
    }
    return lib;
}

// allOnAll: every Virtual Fixture drives all 100 fixtures; otherwise fixture f belongs to Virtual
// Fixture (f - 1) % 40 + 1. Fading Steps, brightness and two Temporary Channels.
Material bigMaterial(bool allOnAll) {
    Material m;
    m.setFixtureCount(kMaxVirtualFixtures);
    m.setChannelCount(kMaxMaterialChannels);
    m.setStepCount(20);
    m.setUnifiedTime(10);
    m.setAllStepsFade(1);
    m.setBrightnessCut(20);
    m.setTempChannel(1, 91);
    m.setTempChannel(2, 122);
    for (int k = 1; k <= kMaxMaterialChannels; ++k)
        m.setChannelFunction(k, 90 + k);
    for (int s = 1; s <= 20; ++s)
        for (int v = 1; v <= kMaxVirtualFixtures; ++v)
            for (int k = 1; k <= kMaxMaterialChannels; ++k)
                m.setValue(s, v, k, (s * 13 + v * 7 + k) % 256);
    for (int f = 1; f <= kFixturesPerPage; ++f)
        for (int v = 1; v <= kMaxVirtualFixtures; ++v)
            if (allOnAll || (f - 1) % kMaxVirtualFixtures + 1 == v) m.setMapped(v, 0, f, true);
    return m;
}

// One tick of the big Material (range(0): every Virtual Fixture on every fixture) per iteration.
template <typename Tick>
void runTicks(benchmark::State& state, Tick tick) {
    const FixtureLibrary lib = hundredFixtures();
    const Material m = bigMaterial(state.range(0) != 0);
    MaterialOutput engine;
    DmxFrame frame{};
    for (auto _ : state) {
        engine.beginTick(frame);
        tick(engine, m, lib, frame);
        benchmark::DoNotOptimize(frame.data());
    }
}

void BM_OutputTick(benchmark::State& state) {
    runTicks(state, [](MaterialOutput& engine, const Material& m, const FixtureLibrary& lib,
                       DmxFrame& frame) { engine.previewRun(m, 1, lib, false, frame); });
}
BENCHMARK(BM_OutputTick)->Arg(0)->Arg(1)->ArgName("allOnAll")->Unit(benchmark::kMicrosecond);

// Live view 7: the editor's current Step with brightness, routing and Temporary Channels.
void BM_StaticPreviewTick(benchmark::State& state) {
    runTicks(state, [](MaterialOutput& engine, const Material& m, const FixtureLibrary& lib,
                       DmxFrame& frame) { engine.previewCurrentStep(m, 1, 3, lib, frame); });
}
BENCHMARK(BM_StaticPreviewTick)->Arg(0)->Arg(1)->ArgName("allOnAll")->Unit(benchmark::kMicrosecond);

// The same tick compiling the maps again, as every tick did before the maps were kept.
void BM_StaticPreviewTickCompilingEveryTick(benchmark::State& state) {
    PageMaps maps;
    DmxFrame dimming{};
    runTicks(state,
             [&](MaterialOutput&, const Material& m, const FixtureLibrary& lib, DmxFrame& frame) {
                 compilePageMaps(m, lib, maps);
                 routeMaterial(true, m, maps, scaledStepValues(m, 3), frame, dimming);
                 applyTemporaryChannels(m, maps, lib, frame);
             });
}
BENCHMARK(BM_StaticPreviewTickCompilingEveryTick)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("allOnAll")
    ->Unit(benchmark::kMicrosecond);

// The Effect output's part: advance and route into the master-dimming passes.
void BM_EffectRoute(benchmark::State& state) {
    const FixtureLibrary lib = hundredFixtures();
    const Material m = bigMaterial(false);
    MaterialOutput engine;
    DmxFrame frame{};
    for (auto _ : state) {
        engine.beginTick(frame);
        engine.route(false, m, 1, lib, engine.advance(m, 1, false), frame);
        benchmark::DoNotOptimize(frame.data());
    }
}
BENCHMARK(BM_EffectRoute)->Unit(benchmark::kMicrosecond);

void BM_CompileOutputMap(benchmark::State& state) {
    const FixtureLibrary lib = hundredFixtures();
    const Material m = bigMaterial(state.range(0) != 0);
    OutputMap map;
    for (auto _ : state) {
        compileOutputMap(m, lib, 0, map);
        benchmark::DoNotOptimize(map.dmxChannels.data());
    }
}
BENCHMARK(BM_CompileOutputMap)->Arg(0)->Arg(1)->ArgName("allOnAll")->Unit(benchmark::kMicrosecond);

long residentKb() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

// The largest bank a Show File can carry in values: full Materials of 600 Steps x 40 x 32
// non-zero values (one file byte per value) until the image reaches the file's 4,194,305 bytes,
// less the other sections' room.
QByteArray largestImage(const FixtureLibrary& lib) {
    auto bank = std::make_unique<MaterialBank>();
    const int perMaterial = kMaxSteps * (3 + 3 + kMaxVirtualFixtures * kMaxMaterialChannels);
    const int budget = 4'194'305 - 204 - 100'000;
    for (int n = 1; n <= kMaterialsPerBank && (n * perMaterial) < budget; ++n) {
        Material& m = bank->byNumber(n);
        m.setFixtureCount(kMaxVirtualFixtures);
        m.setChannelCount(kMaxMaterialChannels);
        m.setStepCount(kMaxSteps);
        for (int s = 1; s <= kMaxSteps; ++s) {
            auto row = m.stepValues(s);
            for (std::size_t i = 0; i < row.size(); ++i)
                row[i] = static_cast<std::uint8_t>(1 + (s + i) % 255);
        }
    }
    return buildEffectImage(*bank, lib).value_or(QByteArray());
}

// The most Materials a Show File can hold: 240 of 600 dark Steps x 40 x 32 (3 file bytes a Step).
QByteArray widestImage(const FixtureLibrary& lib) {
    auto bank = std::make_unique<MaterialBank>();
    for (int n = 1; n <= kMaterialsPerBank; ++n) {
        Material& m = bank->byNumber(n);
        m.setFixtureCount(kMaxVirtualFixtures);
        m.setChannelCount(kMaxMaterialChannels);
        m.setStepCount(kMaxSteps);
    }
    return buildEffectImage(*bank, lib).value_or(QByteArray());
}

void reportBankMemory(const char* what, const QByteArray& image) {
    malloc_trim(0);
    const long before = residentKb();
    auto bank = std::make_unique<MaterialBank>();
    const ParseResult r = parseEffectImage(image, *bank);
    malloc_trim(0);  // what the bank holds, not the parse's freed working buffer
    const long after = residentKb();
    int materials = 0;
    for (int n = 1; n <= kMaterialsPerBank; ++n)
        materials += materialExists(bank->byNumber(n));
    std::printf(
        "%s: image %lld bytes, %d Materials, parse %s; resident %ld kB before, %ld kB with "
        "the bank (+%ld kB)\n",
        what, static_cast<long long>(image.size()), materials,
        r == ParseResult::Ok ? "ok" : "FAILED", before, after, after - before);
}

}  // namespace

int main(int argc, char** argv) {
    const FixtureLibrary lib;
    reportBankMemory("largest bank (full Materials)", largestImage(lib));
    reportBankMemory("widest bank (240 dark Materials)", widestImage(lib));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
