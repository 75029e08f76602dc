// The Effect editor's "refresh all" (Fun_所有控件数据刷新) on a full Effect: both parts with 48
// Bars of 8 Beats, every Slot of every Module holding a Material and selected on every Beat.
// Runs offscreen.
#include <QApplication>

#include "effects/effect_editor_view.h"
#include "materials/memory_images.h"
#include "offscreen_bench.h"

namespace {

void BM_RefreshAll(benchmark::State& state) {
    kx::EffectTable effects;
    kx::MaterialBank bank;
    int current = 1;
    kx::Effect& fx = effects.at(1);
    fx.independentBass = 1;
    for (int p : {kx::kNoBassPart, kx::kBassPart}) {
        kx::setBarCount(fx, p, kx::kMaxBars);
        kx::setBeatsPerBar(fx, p, kx::kMaxBeats);
        for (int bar = 1; bar <= kx::kMaxBars; ++bar)
            for (int beat = 1; beat <= kx::kMaxBeats; ++beat)
                for (int m = 1; m <= kx::kModules; ++m)
                    for (int s = 1; s <= kx::kSlotsPerModule; ++s)
                        kx::setBeatSelection(fx, p, bar, beat, m, s, 1);
    }
    for (int m = 1; m <= kx::kModules; ++m) {
        kx::setModuleRemark(fx, m, QStringLiteral("模块%1").arg(m));
        for (int s = 1; s <= kx::kSlotsPerModule; ++s) {
            bank.at(m, s).setRemark(QStringLiteral("素材%1").arg(s));
            bank.at(m, s).setFixtureCount(4);
            bank.at(m, s).setChannelCount(8);
            bank.at(m, s).setStepCount(4);
        }
    }
    kx::FixtureLibrary lib;
    kx::test::MemoryImages images;
    kx::MaterialOutput engine;
    std::uint8_t jump = 0;
    kx::Appearance appearance;
    kx::bench::SilentPrompter prompter;
    kx::bench::Folder folder;
    kx::EffectEditorView view({effects, bank, current, lib, images, engine, jump},
                              {appearance,
                               {prompter, folder},
                               [](QWidget* v) { v->show(); },
                               [] {},
                               [] {},
                               [] {},
                               [] {}});
    view.resize(1280, 681);
    view.Fun_窗体载入();
    QApplication::processEvents();
    int module = 1;
    for (auto _ : state) {
        view.editor().chooseModule(module);
        view.Fun_所有控件数据刷新();
        module = module % kx::kModules + 1;
    }
}
BENCHMARK(BM_RefreshAll)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return kx::bench::runOffscreen(argc, argv);
}
