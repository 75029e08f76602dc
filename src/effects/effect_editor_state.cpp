#include "effects/effect_editor_state.h"

#include <algorithm>
#include <map>

namespace kx {

namespace {

ValueBoxEntries numbers(int from, int to) {
    ValueBoxEntries e;
    for (int n = from; n <= to; ++n) {
        e.texts << QString::number(n);
        e.values.push_back(n);
    }
    return e;
}

ValueBoxEntries listed(std::initializer_list<int> values) {
    ValueBoxEntries e;
    for (int n : values) {
        e.texts << QString::number(n);
        e.values.push_back(n);
    }
    return e;
}

// Entries stored by their position.
ValueBoxEntries positions(const QStringList& texts) {
    ValueBoxEntries e;
    e.texts = texts;
    for (int i = 0; i < texts.size(); ++i)
        e.values.push_back(i);
    return e;
}

ValueBoxEntries xyEntries() {
    ValueBoxEntries e = numbers(1, kMaxXyThreshold);
    e.texts.prepend(kXyDefaultEntry);
    e.values.insert(e.values.begin(), 0);
    return e;
}

}  // namespace

EffectEditorColours effectEditorColours(const Appearance& a) {
    EffectEditorColours c;
    if (!a.customised) return c;
    using K = ColourKey;
    c.barCurrent = a.colour(K::效果_小节选择);
    c.barOther = a.colour(K::效果_小节非选择);
    c.beatSelected = a.colour(K::效果_拍子选择);
    c.beatUnselected = a.colour(K::效果_拍子非选择);
    c.demoCurrent = a.colour(K::效果_拍子演示选择);
    c.demoOther = a.colour(K::效果_拍子演示非选择);
    c.correspondenceNormal = a.colour(K::公用Label文字颜色);
    c.drumNormal = a.colour(K::公用Frame文字颜色);
    c.rowGroups = {a.colour(K::效果_素材列分区显示1), a.colour(K::效果_素材列分区显示2),
                   a.colour(K::效果_素材列分区显示3)};
    c.rowMarker = a.colour(K::效果_素材列鼠标显示);
    c.moduleCurrentWith = a.colour(K::效果_模块有效_选择);
    c.moduleCurrentWithout = a.colour(K::效果_模块无效_选择);
    c.moduleOtherWith = a.colour(K::效果_模块有效_非选择);
    c.moduleOtherWithout = a.colour(K::效果_模块无效_非选择);
    c.materialExists = a.colour(K::效果_素材有效);
    c.materialMissing = a.colour(K::效果_素材无效);
    c.buttonText = a.colour(K::公用Command文字颜色);
    c.slotMarker = a.colour(K::效果_素材选择);
    c.dwellNormal = a.colour(K::公用Combo背景颜色);
    return c;
}

Bgr moduleButtonColour(bool current, bool hasMaterials, const EffectEditorColours& c) {
    if (current) return hasMaterials ? c.moduleCurrentWith : c.moduleCurrentWithout;
    return hasMaterials ? c.moduleOtherWith : c.moduleOtherWithout;
}

Bgr autoDrumColour(AutoDrum::Mode mode, const EffectEditorColours& c) {
    return mode == AutoDrum::Off ? c.autoStopped : c.autoRunning;
}

Bgr rowGroupColour(int slot, const EffectEditorColours& c) {
    return c.rowGroups.at(std::clamp((slot - 1) / kAssociationGroupSize, 0, 2));
}

int barOfButton(int page, int button) {
    return kBarsPerPage * page + button;
}

QString barPageCaption(int page) {
    return QString::number(barOfButton(page, 1)) + "-" +
           QString::number(barOfButton(page, kBarsPerPage));
}

bool pageButtonVisible(const Effect& fx, int part) {
    if (fx.parts[part].barCount <= kBarsPerPage) return false;
    return part == kNoBassPart || bassPartShown(fx);
}

int shownPage(const Effect& fx, int part, int page) {
    const int bars = fx.parts[part].barCount;
    if (bars <= kBarsPerPage) return 0;
    return std::clamp(page, 0, (bars - 1) / kBarsPerPage);
}

int nextBarPage(const Effect& fx, int part, int page) {
    return kBarsPerPage * (page + 1) < fx.parts[part].barCount ? page + 1 : 0;
}

bool barButtonVisible(const Effect& fx, int part, int page, int button) {
    if (part == kBassPart && !bassPartShown(fx)) return false;
    return barOfButton(page, button) <= fx.parts[part].barCount;
}

bool bassPartShown(const Effect& fx) {
    return fx.independentBass != 0;
}

QString barFrameTitle(int part, int bar) {
    return (part == kBassPart ? QStringLiteral("低音小节 [") : QStringLiteral("无低音小节 [")) +
           QString::number(bar) + "]";
}

bool beatColumnVisible(const Effect& fx, int part, int beat) {
    return beat <= fx.parts[part].beatsPerBar;
}

bool gridRowVisible(const Effect& fx, int module, int slot) {
    return fx.modules[module - 1].materialAssociation != 1 ||
           (slot - 1) % kAssociationGroupSize == 0;
}

int correctedBeat(const Effect& fx, int part, int beat) {
    const int beats = fx.parts[part].beatsPerBar;
    if (beats == 0) return 0;
    return beat == 0 || beat > beats ? 1 : beat;
}

EffectEditorPosition validPosition(const Effect& fx, EffectEditorPosition pos) {
    if (pos.part != kNoBassPart && !(pos.part == kBassPart && bassPartShown(fx)))
        pos.part = kNoBassPart;
    const int bars = fx.parts[pos.part].barCount;
    pos.bar = std::clamp(pos.bar, 1, std::max(bars, 1));
    pos.barPage[pos.part] = bars <= kBarsPerPage ? 0 : (pos.bar - 1) / kBarsPerPage;
    pos.beat = correctedBeat(fx, pos.part, pos.beat);
    return pos;
}

std::optional<int> parseDwellTime(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 3) return std::nullopt;
    for (const QChar c : t) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    const int n = t.toInt();
    if (n > 255) return std::nullopt;
    return n;
}

QString dwellTimeLabel(int tenths) {
    return QString::number(tenths / 10.0, 'f', 1) + "秒";
}

const ValueBoxEntries& valueBoxEntries(ValueBox box) {
    static const std::map<ValueBox, ValueBoxEntries> boxes{
        {ValueBox::BarCount, numbers(0, kMaxBars)},
        {ValueBox::BeatsPerBar, numbers(0, kMaxBeats)},
        {ValueBox::BassHoldTime, listed({5, 10, 20, 30, 40, 50, 60, 100})},
        {ValueBox::RgbThreshold, numbers(0, 255)},
        {ValueBox::XyThreshold, xyEntries()},
        {ValueBox::VjMode, positions({"正常显示", "Dmx512控制", "VJ自走"})},
        {ValueBox::BarRepeat, numbers(0, kMaxBarRepeat)},
        {ValueBox::AssociationRepeat, numbers(0, kMaxAssociationRepeat)},
        {ValueBox::DwellTime, listed({10, 20, 30, 40, 80, 160, 240})},
    };
    return boxes.at(box);
}

std::optional<int> entryValue(ValueBox box, int entry) {
    const auto& values = valueBoxEntries(box).values;
    if (entry < 0 || entry >= static_cast<int>(values.size())) return std::nullopt;
    return values[static_cast<std::size_t>(entry)];
}

QString valueBoxCaption(ValueBox box) {
    switch (box) {
        case ValueBox::BarCount:
            return QStringLiteral("小节数");
        case ValueBox::BeatsPerBar:
            return QStringLiteral("拍数");
        case ValueBox::BassHoldTime:
            return QStringLiteral("低音保持时间");
        case ValueBox::RgbThreshold:
            return QStringLiteral("RGB阀值");
        case ValueBox::XyThreshold:
            return QStringLiteral("XY阀值");
        case ValueBox::VjMode:
            return QStringLiteral("VJ控制方式");
        case ValueBox::BarRepeat:
            return QStringLiteral("小节重复次数");
        case ValueBox::AssociationRepeat:
            return QStringLiteral("单素材重复");
        case ValueBox::DwellTime:
            return QStringLiteral("拍子停留时间");
    }
    return {};
}

QString switchCaption(EffectSetting field) {
    if (field == &Effect::independentBass) return QStringLiteral("开启独立低音");
    if (field == &Effect::beatCorrespondence) return QStringLiteral("低音返回时拍子对应");
    if (field == &Effect::bassDisabled) return QStringLiteral("禁止低音");
    if (field == &Effect::bassSwitchJumpsBar) return QStringLiteral("低音切换跳小节");
    return QStringLiteral("设置");
}

QString allBeatsFlagCaption(AllBeatsFlag which) {
    switch (which) {
        case AllBeatsFlag::NoBassBeats:
            return QStringLiteral("无低音拍");
        case AllBeatsFlag::BassBeats:
            return QStringLiteral("低音拍");
        case AllBeatsFlag::BothParts:
            return QStringLiteral("所有拍");
    }
    return {};
}

int entryOf(ValueBox box, int value) {
    const auto& values = valueBoxEntries(box).values;
    const auto it = std::find(values.begin(), values.end(), value);
    return it == values.end() ? -1 : static_cast<int>(it - values.begin());
}

}  // namespace kx
