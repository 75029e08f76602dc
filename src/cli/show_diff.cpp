#include "cli/show_diff.h"

#include "cli/show_terms.h"
#include "materials/material_bank_file.h"

namespace kx {

namespace {

class Differ {
  public:
    std::vector<ShowDifference> out;

    template <typename T>
    void field(const QString& where, const QString& name, const T& a, const T& b) {
        if (a != b) out.push_back({where, name, text(a), text(b)});
    }

  private:
    static QString text(const QString& s) { return '"' + s + '"'; }
    static QString text(bool v) { return v ? QStringLiteral("yes") : QStringLiteral("no"); }
    template <typename T>
    static QString text(const T& v) {
        return QString::number(v);
    }
};

void diffRoom(Differ& d, const RoomControl& a, const RoomControl& b) {
    const QString where = QStringLiteral("Room Control");
    for (const RoomControlFieldName& f : roomControlFieldNames())
        d.field(where, f.name, int{a.*f.field}, int{b.*f.field});
    for (int k = 1; k <= kEffectorKeys; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        for (int byte = 0; byte < kEffectorCodeSize; ++byte) {
            const auto j = static_cast<std::size_t>(byte);
            d.field(where, QStringLiteral("effector code %1 byte %2").arg(k).arg(byte + 1),
                    int{a.effectorCodes[i][j]}, int{b.effectorCodes[i][j]});
        }
    }
}

void diffScenes(Differ& d, const SceneTable& a, const SceneTable& b) {
    for (int n = 1; n <= kSceneCount; ++n) {
        const Scene& x = a.at(n);
        const Scene& y = b.at(n);
        const QString where = QStringLiteral("Scene %1").arg(n);
        d.field(where, "name", x.name, y.name);
        d.field(where, "effect", int{x.effectNumber}, int{y.effectNumber});
        d.field(where, "mainsByDmx", int{x.mainsByDmx}, int{y.mainsByDmx});
        for (int k = 0; k < kRelayChannels; ++k) {
            const auto i = static_cast<std::size_t>(k);
            d.field(where, QStringLiteral("relay %1").arg(k + 1), int{x.relays[i]},
                    int{y.relays[i]});
        }
        for (int k = 0; k < kDimmerChannels; ++k) {
            const auto i = static_cast<std::size_t>(k);
            d.field(where, QStringLiteral("dimmer %1").arg(k + 1), int{x.dimmerLevels[i]},
                    int{y.dimmerLevels[i]});
        }
        d.field(where, "audioSource", int{x.audioSource}, int{y.audioSource});
        d.field(where, "wallPanelScene", int{x.wallPanelScene}, int{y.wallPanelScene});
        d.field(where, "vodScene", int{x.vodScene}, int{y.vodScene});
        d.field(where, "effectorSound", int{x.effectorSound}, int{y.effectorSound});
    }
    for (int k = 0; k < kRelayChannels; ++k) {
        const auto i = static_cast<std::size_t>(k);
        d.field(QStringLiteral("Scenes"), QStringLiteral("relay %1 remark").arg(k + 1),
                a.relayRemarks[i], b.relayRemarks[i]);
    }
    for (int k = 0; k < kDimmerChannels; ++k) {
        const auto i = static_cast<std::size_t>(k);
        d.field(QStringLiteral("Scenes"), QStringLiteral("dimmer %1 remark").arg(k + 1),
                a.dimmerRemarks[i], b.dimmerRemarks[i]);
    }
}

void diffFixtures(Differ& d, const FixtureLibrary& a, const FixtureLibrary& b) {
    for (int page = 0; page < kLibraryPageSlots; ++page) {
        for (int n = 1; n <= kFixturesPerPage; ++n) {
            const Fixture& x = a.at(page, n);
            const Fixture& y = b.at(page, n);
            if (x == y) continue;
            const QString where = QStringLiteral("fixture %1/%2").arg(page).arg(n);
            d.field(where, "name", x.name, y.name);
            d.field(where, "channels", int{x.channelCount}, int{y.channelCount});
            d.field(where, "address", int{x.startAddress}, int{y.startAddress});
            d.field(where, "port", portTerm(x.port), portTerm(y.port));
            for (int ch = 0; ch < kMaxFixtureChannels; ++ch) {
                const auto i = static_cast<std::size_t>(ch);
                d.field(where, QStringLiteral("channel %1 function").arg(ch + 1),
                        int{x.functions[i]}, int{y.functions[i]});
                d.field(where, QStringLiteral("channel %1 test value").arg(ch + 1),
                        int{x.testValues[i]}, int{y.testValues[i]});
                d.field(where, QStringLiteral("channel %1 adjust value").arg(ch + 1),
                        int{x.adjustValues[i]}, int{y.adjustValues[i]});
            }
        }
    }
}

QString materialList(const MaterialSet& set) {
    QStringList numbers;
    for (int m = 1; m <= kMaterialsPerBank; ++m) {
        if (set.test(static_cast<std::size_t>(m - 1))) numbers << QString::number(m);
    }
    return numbers.isEmpty() ? QStringLiteral("none") : numbers.join(',');
}

void diffSets(Differ& d, const QString& where, const QString& name, const MaterialSet& a,
              const MaterialSet& b) {
    if (a != b) d.out.push_back({where, name, materialList(a), materialList(b)});
}

void diffEffect(Differ& d, int e, const Effect& x, const Effect& y) {
    const QString where = QStringLiteral("Effect %1").arg(e);
    d.field(where, "name", x.remark, y.remark);
    d.field(where, "independentBass", int{x.independentBass}, int{y.independentBass});
    d.field(where, "beatCorrespondence", int{x.beatCorrespondence}, int{y.beatCorrespondence});
    d.field(where, "bassDisabled", int{x.bassDisabled}, int{y.bassDisabled});
    d.field(where, "bassHoldTime", int{x.bassHoldTime}, int{y.bassHoldTime});
    d.field(where, "rgbThreshold", int{x.rgbThreshold}, int{y.rgbThreshold});
    d.field(where, "xyThreshold", int{x.xyThreshold}, int{y.xyThreshold});
    d.field(where, "vjMode", int{x.vjMode}, int{y.vjMode});
    d.field(where, "bassSwitchJumpsBar", int{x.bassSwitchJumpsBar}, int{y.bassSwitchJumpsBar});
    diffSets(d, where, "all no-bass Beats", x.allNoBassBeats, y.allNoBassBeats);
    diffSets(d, where, "all bass Beats", x.allBassBeats, y.allBassBeats);
    diffSets(d, where, "all Beats", x.allBeats, y.allBeats);
    for (int p = 0; p < kParts; ++p) {
        const EffectPart& px = x.parts[static_cast<std::size_t>(p)];
        const EffectPart& py = y.parts[static_cast<std::size_t>(p)];
        const QString part = where + ' ' + partName(p);
        d.field(part, "Bars", int{px.barCount}, int{py.barCount});
        d.field(part, "Beats", int{px.beatsPerBar}, int{py.beatsPerBar});
        for (int bar = 1; bar <= kMaxBars; ++bar) {
            const BarSettings& bx = px.bars[static_cast<std::size_t>(bar - 1)];
            const BarSettings& by = py.bars[static_cast<std::size_t>(bar - 1)];
            const QString b = part + QStringLiteral(" Bar %1").arg(bar);
            d.field(b, "bassHold", int{bx.bassHold}, int{by.bassHold});
            d.field(b, "repeat", int{bx.repeat}, int{by.repeat});
            d.field(b, "beatDwellTime", int{bx.beatDwellTime}, int{by.beatDwellTime});
            for (int beat = 1; beat <= kMaxBeats; ++beat) {
                const auto key = static_cast<std::size_t>(beatKey(bar, beat));
                diffSets(d, b + QStringLiteral(" Beat %1").arg(beat), "Materials",
                         px.selections[key], py.selections[key]);
            }
        }
    }
    for (int m = 1; m <= kModules; ++m) {
        const ModuleSettings& mx = x.modules[static_cast<std::size_t>(m - 1)];
        const ModuleSettings& my = y.modules[static_cast<std::size_t>(m - 1)];
        const QString mod = where + QStringLiteral(" Module %1").arg(m);
        d.field(mod, "remark", mx.remark, my.remark);
        d.field(mod, "materialAssociation", int{mx.materialAssociation},
                int{my.materialAssociation});
        d.field(mod, "associationRepeat", int{mx.associationRepeat}, int{my.associationRepeat});
    }
}

void diffMaterial(Differ& d, const QString& where, const Material& x, const Material& y) {
    d.field(where, "remark", x.remark(), y.remark());
    d.field(where, "Steps", x.stepCount(), y.stepCount());
    d.field(where, "Virtual Fixtures", x.fixtureCount(), y.fixtureCount());
    d.field(where, "channels", x.channelCount(), y.channelCount());
    d.field(where, "unified time", x.unifiedTime(), y.unifiedTime());
    d.field(where, "per-Step time", x.perStepTime(), y.perStepTime());
    d.field(where, "all Steps fade", x.allStepsFade(), y.allStepsFade());
    d.field(where, "jump size", x.jumpSize(), y.jumpSize());
    d.field(where, "jump at range end", x.jumpAtRangeEnd(), y.jumpAtRangeEnd());
    d.field(where, "brightness cut", x.brightnessCut(), y.brightnessCut());
    d.field(where, "start mode", x.startMode(), y.startMode());
    d.field(where, "virtual dimming", x.virtualDimming(), y.virtualDimming());
    d.field(where, "hardware speed", x.hardwareSpeed(), y.hardwareSpeed());
    d.field(where, "run from start", x.runFromStart(), y.runFromStart());
    d.field(where, "motion mode", x.motionMode(), y.motionMode());
    for (int ch = 1; ch <= kMaxMaterialChannels; ++ch) {
        d.field(where, QStringLiteral("channel %1 function").arg(ch), x.channelFunction(ch),
                y.channelFunction(ch));
    }
    for (int k = 1; k <= kTempChannelEntries; ++k)
        d.field(where, QStringLiteral("temporary channel %1").arg(k), x.tempChannel(k),
                y.tempChannel(k));
    for (int k = 1; k <= kMotionParameters; ++k)
        d.field(where, QStringLiteral("motion %1").arg(k), x.motionGlobal(k), y.motionGlobal(k));
    const int fixtures = std::max(x.fixtureCount(), y.fixtureCount());
    const int channels = std::max(x.channelCount(), y.channelCount());
    for (int vf = 1; vf <= fixtures; ++vf) {
        for (int k = 1; k <= kMotionParameters; ++k) {
            d.field(where, QStringLiteral("Virtual Fixture %1 motion %2").arg(vf).arg(k),
                    x.motionPerFixture(vf, k), y.motionPerFixture(vf, k));
        }
        for (int page = 0; page < kLibraryPageSlots; ++page) {
            for (int n = 1; n <= kFixturesPerPage; ++n) {
                d.field(where,
                        QStringLiteral("Virtual Fixture %1 mapped to fixture %2/%3")
                            .arg(vf)
                            .arg(page)
                            .arg(n),
                        x.isMapped(vf, page, n), y.isMapped(vf, page, n));
            }
        }
    }
    for (int step = 1; step <= std::max(x.stepCount(), y.stepCount()); ++step) {
        const QString s = where + QStringLiteral(" Step %1").arg(step);
        const StepInfo ix = x.stepInfo(step);
        const StepInfo iy = y.stepInfo(step);
        d.field(s, "time", int{ix.stepTime}, int{iy.stepTime});
        d.field(s, "fade to next", int{ix.fadeToNext}, int{iy.fadeToNext});
        d.field(s, "jump mark", int{ix.jumpMark}, int{iy.jumpMark});
        for (int vf = 1; vf <= fixtures; ++vf) {
            for (int ch = 1; ch <= channels; ++ch) {
                d.field(s, QStringLiteral("Virtual Fixture %1 channel %2").arg(vf).arg(ch),
                        x.value(step, vf, ch), y.value(step, vf, ch));
            }
        }
    }
}

void diffBanks(Differ& d, int e, const LoadedShow& a, const LoadedShow& b) {
    if (a.images.image(e) == b.images.image(e)) return;
    auto x = std::make_unique<MaterialBank>();
    auto y = std::make_unique<MaterialBank>();
    const bool okX = readEffectBank(a, e, *x) == ParseResult::Ok;
    const bool okY = readEffectBank(b, e, *y) == ParseResult::Ok;
    if (!okX || !okY) {
        d.out.push_back({QStringLiteral("Effect %1").arg(e), "Material image",
                         okX ? "readable" : "damaged", okY ? "readable" : "damaged"});
        return;
    }
    for (int number = 1; number <= kMaterialsPerBank; ++number) {
        const Material& mx = x->byNumber(number);
        const Material& my = y->byNumber(number);
        if (mx == my) continue;
        const MaterialSlot slot = materialSlotOf(number).value_or(MaterialSlot{});
        diffMaterial(d, QStringLiteral("Material %1/%2/%3").arg(e).arg(slot.module).arg(slot.slot),
                     mx, my);
    }
}

}  // namespace

std::vector<ShowDifference> diffShows(const LoadedShow& a, const LoadedShow& b) {
    Differ d;
    diffRoom(d, a.show.room, b.show.room);
    diffScenes(d, a.show.scenes, b.show.scenes);
    diffFixtures(d, a.show.library, b.show.library);
    for (int e = 1; e <= kEffectCount; ++e) {
        if (a.show.effects.at(e) != b.show.effects.at(e))
            diffEffect(d, e, a.show.effects.at(e), b.show.effects.at(e));
        diffBanks(d, e, a, b);
    }
    d.field(QStringLiteral("Action Thresholds"), "xyDefaultLimit", a.show.thresholds.xyDefaultLimit,
            b.show.thresholds.xyDefaultLimit);
    return d.out;
}

QString differenceText(const ShowDifference& d) {
    return d.where + ' ' + d.field + ": " + d.before + " -> " + d.after;
}

}  // namespace kx
