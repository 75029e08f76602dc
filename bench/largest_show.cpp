#include "largest_show.h"

#include "effects/effect_model.h"
#include "materials/material_bank_file.h"
#include "roomctl/room_control.h"
#include "scenes/scene_table.h"

namespace kx::bench {

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

Material largeMaterial(int seed, int steps, bool allFixtures) {
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

}  // namespace kx::bench
