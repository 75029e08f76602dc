// The DMX monitor's work on one output tick, offscreen and painted: with every transmitted
// channel changing (80 fixtures of 32 channels patched over all 2560), with nothing changing,
// with every lamp flashing, and the lamp looks alone. The window shows port A's page.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "monitor/dmx_monitor_window.h"

namespace {

kx::FixtureLibrary fullPatch() {
    // Functions cycling through colour, dimmer, strobe, wheel, pan and tilt.
    constexpr std::array<int, 8> kFunctions{20, 21, 22, 23, 10, 12, 1, 2};
    kx::FixtureLibrary library;
    for (int n = 1; n <= 80; ++n) {
        kx::Fixture& f = library.at(0, n);
        f.name = QString("摇头灯%1").arg(n);
        f.channelCount = kx::kMaxFixtureChannels;
        f.port = static_cast<std::uint8_t>((n - 1) / 16);
        f.startAddress = static_cast<std::int16_t>(1 + (n - 1) % 16 * 32);
        for (int ch = 0; ch < kx::kMaxFixtureChannels; ++ch)
            f.functions[static_cast<std::size_t>(ch)] =
                static_cast<std::uint8_t>(kFunctions[static_cast<std::size_t>(ch % 8)]);
    }
    return library;
}

struct Monitor {
    QTemporaryDir dir;
    kx::FixtureLibrary library = fullPatch();
    kx::ChannelFunctionNames names = kx::defaultChannelFunctionNames();
    kx::DmxMonitorWindow window{library, names, kx::AppPaths::under(dir.path())};
    Monitor() {
        window.show();
        QApplication::processEvents();
    }
    // One tick: the frame, then the paint it asked for.
    void tick(const kx::DmxFrame& frame) {
        window.showFrame(frame);
        QApplication::processEvents();
    }
};

void BM_TickEveryChannelChanging(benchmark::State& state) {
    Monitor m;
    kx::DmxFrame frame{};
    std::uint8_t base = 0;
    for (auto _ : state) {
        ++base;
        for (int i = 1; i <= 2560; ++i)
            frame[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(base + i);
        m.tick(frame);
    }
}
BENCHMARK(BM_TickEveryChannelChanging)->Unit(benchmark::kMillisecond);

// The same frame again: nothing is drawn.
void BM_TickNothingChanging(benchmark::State& state) {
    Monitor m;
    kx::DmxFrame frame{};
    for (int i = 1; i <= 2560; ++i)
        frame[static_cast<std::size_t>(i)] = i % 8 == 6 ? 0 : static_cast<std::uint8_t>(i);
    m.tick(frame);
    for (auto _ : state)
        m.tick(frame);
}
BENCHMARK(BM_TickNothingChanging)->Unit(benchmark::kMicrosecond);

// The same frame with every lamp's strobe at 128: the 80 lamps flash, so all are drawn again.
void BM_TickEveryLampFlashing(benchmark::State& state) {
    Monitor m;
    kx::DmxFrame frame{};
    for (int i = 1; i <= 2560; ++i)
        frame[static_cast<std::size_t>(i)] = i % 8 == 6 ? 128 : static_cast<std::uint8_t>(i);
    m.tick(frame);
    for (auto _ : state)
        m.tick(frame);
}
BENCHMARK(BM_TickEveryLampFlashing)->Unit(benchmark::kMillisecond);

void BM_LampLooks(benchmark::State& state) {
    const kx::FixtureLibrary library = fullPatch();
    const kx::ChannelRoles roles = kx::channelRoles(kx::defaultChannelFunctionNames());
    kx::DmxFrame frame{};
    for (auto _ : state) {
        ++frame[1];
        benchmark::DoNotOptimize(kx::lampLooks(library, frame, roles));
    }
}
BENCHMARK(BM_LampLooks)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
