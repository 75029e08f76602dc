#pragma once

#include <QByteArray>
#include <memory>

#include "cli/memory_images.h"
#include "cli/show_reading.h"
#include "show/show.h"

namespace kx::test {

inline const QString kTestStamp = QStringLiteral("2026/3/7 9:05:04 C:\\KX7420");

// A show made through the models and written by the window's own section writers: two patched
// fixtures, Effect 1 "开场" with a Material of three Steps, Scene 4 on Effect 1 and a start-up
// scene.
struct ShowMaker {
    std::unique_ptr<Show> show = std::make_unique<Show>();
    MemoryImages images;

    ShowMaker() {
        Show& s = *show;
        Fixture& par = s.library.at(0, 1);
        par.name = QStringLiteral("RGB帕灯");
        par.channelCount = 3;
        par.startAddress = 1;
        Fixture& spot = s.library.at(0, 2);
        spot.name = QStringLiteral("Spot");
        spot.channelCount = 16;
        spot.startAddress = 10;
        spot.port = 1;

        Effect& fx = s.effects.at(1);
        fx.remark = QStringLiteral("开场");
        fx.parts[0].barCount = 4;
        fx.parts[0].beatsPerBar = 4;
        fx.parts[0].selections[beatKey(1, 1)].set(0);
        s.currentEffect = 1;
        Material& m = s.materials.at(1, 1);
        m.setRemark(QStringLiteral("追光"));
        m.setFixtureCount(2);
        m.setChannelCount(3);
        m.setStepCount(3);
        m.setUnifiedTime(10);
        m.setMapped(1, 0, 1, true);
        for (int step = 1; step <= 3; ++step)
            m.setValue(step, 1, step, 255);

        s.scenes.at(4).name = QStringLiteral("生日");
        s.scenes.at(4).effectNumber = 1;
        s.room.startupScene = 4;
    }

    QByteArray bytes() {
        StagedEffectImages unused;
        return *buildShowFile(showSections(*show, images, unused), kTestStamp).bytes;
    }
};

}  // namespace kx::test
