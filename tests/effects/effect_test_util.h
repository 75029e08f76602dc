#pragma once

#include <QByteArray>
#include <QString>
#include <algorithm>

#include "effects/effect_model.h"

namespace kx::test {

inline QByteArray zeros(int n) {
    return QByteArray(n, '\0');
}

// A text field: length byte, UTF-16 big-endian.
inline QByteArray text(const QString& s) {
    QByteArray out(1, static_cast<char>(s.size()));
    for (QChar c : s) {
        out += static_cast<char>(c.unicode() >> 8);
        out += static_cast<char>(c.unicode() & 0xFF);
    }
    return out;
}

inline Effect smallEffect() {
    Effect fx;
    fx.remark = "A";
    setEffectSetting(fx, &Effect::independentBass, 1);
    setEffectSetting(fx, &Effect::bassHoldTime, 40);
    setEffectSetting(fx, &Effect::rgbThreshold, 200);
    setEffectSetting(fx, &Effect::vjMode, 2);  // the files keep only mode 1
    setBarCount(fx, kNoBassPart, 1);
    setBeatsPerBar(fx, kNoBassPart, 2);
    setBeatSelection(fx, kNoBassPart, 1, 2, 1, 1, 1);         // Material 1
    setBeatSelection(fx, kNoBassPart, 1, 2, 2, 1, 1);         // Material 13
    setAllBeatsFlag(fx, AllBeatsFlag::BothParts, 20, 12, 1);  // Material 240
    setBarBassHold(fx, kNoBassPart, 1, 1);
    setBarRepeat(fx, kNoBassPart, 1, 3);
    setBeatDwellTime(fx, kNoBassPart, 1, 40);
    setMaterialAssociation(fx, 1, 1);
    setAssociationRepeat(fx, 1, 5);
    setModuleRemark(fx, 20, "Z");
    return fx;
}

// A busy Effect: both parts, every kind of field away from 0.
inline Effect busyEffect(int seed) {
    Effect fx;
    fx.remark = QStringLiteral("效果%1").arg(seed);
    setEffectSetting(fx, &Effect::independentBass, 1);
    setEffectSetting(fx, &Effect::beatCorrespondence, seed % 2);
    setEffectSetting(fx, &Effect::bassDisabled, (seed / 2) % 2);
    setEffectSetting(fx, &Effect::bassHoldTime, 5 + seed);
    setEffectSetting(fx, &Effect::rgbThreshold, 255 - seed);
    setEffectSetting(fx, &Effect::xyThreshold, seed % 129);
    setEffectSetting(fx, &Effect::vjMode, seed % 2);
    setEffectSetting(fx, &Effect::bassSwitchJumpsBar, 1);
    for (int part : {kNoBassPart, kBassPart}) {
        const int bars = 1 + (seed + part * 7) % kMaxBars;
        const int beats = 1 + (seed + part) % kMaxBeats;
        setBarCount(fx, part, bars);
        setBeatsPerBar(fx, part, beats);
        for (int bar = 1; bar <= bars; ++bar) {
            setBarBassHold(fx, part, bar, bar % 2);
            setBarRepeat(fx, part, bar, bar % 37);
            setBeatDwellTime(fx, part, bar, 10 * (bar % 25));
            for (int beat = 1; beat <= beats; ++beat) {
                for (int n = (bar * beat + seed) % 7 + 1; n <= 240; n += 11 + part) {
                    const auto slot = *materialSlotOf(n);
                    setBeatSelection(fx, part, bar, beat, slot.module, slot.slot, 1);
                }
            }
        }
    }
    for (int m = 1; m <= kModules; ++m) {
        setModuleRemark(fx, m, QStringLiteral("模块%1-%2").arg(seed).arg(m));
        setMaterialAssociation(fx, m, (m + seed) % 2);
        setAssociationRepeat(fx, m, (m + seed) % 31);
        setAllBeatsFlag(fx, AllBeatsFlag::NoBassBeats, m, 1 + (seed % 12), 1);
        setAllBeatsFlag(fx, AllBeatsFlag::BassBeats, m, 12 - (seed % 12), 1);
        setAllBeatsFlag(fx, AllBeatsFlag::BothParts, m, 1 + ((seed + m) % 12), 1);
    }
    return fx;
}

inline EffectTable busyTable() {
    EffectTable t;
    for (int e = 1; e <= kEffectCount; e += 3)
        t.at(e) = busyEffect(e);
    t.at(2).remark = "remark only";
    setModuleRemark(t.at(2), 7, QStringLiteral("只有备注的模块，名字超过二十个字符会被截断"));
    return t;
}

// What a stored Effect reads back as: mode 2 as 0, texts cut to 20 characters, no correspondence
// flag, nothing outside the parts' shapes.
inline Effect asStored(Effect fx) {
    if (fx.vjMode != kVjModeDmx) fx.vjMode = 0;
    fx.remark = fx.remark.left(kEffectTextMax);
    for (auto& m : fx.modules)
        m.remark = m.remark.left(kEffectTextMax);
    fx.correspondenceInvalid = 0;
    for (EffectPart& p : fx.parts) {
        for (int bar = p.barCount + 1; bar <= kMaxBars; ++bar)
            p.bars[bar - 1] = BarSettings{};
        for (int key = 0; key < kMaxBars * kMaxBeats; ++key) {
            if (key / kMaxBeats >= p.barCount || key % kMaxBeats >= p.beatsPerBar)
                p.selections[static_cast<std::size_t>(key)].reset();
        }
    }
    return fx;
}

}  // namespace kx::test
