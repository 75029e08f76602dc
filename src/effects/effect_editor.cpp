#include "effects/effect_editor.h"

namespace kx {

namespace {

// What a box of fixed entries stores into.
EffectAspect boxAspect(ValueBox box) {
    switch (box) {
        case ValueBox::BarCount:
        case ValueBox::BeatsPerBar:
            return EffectAspect::Shape;
        case ValueBox::BarRepeat:
        case ValueBox::DwellTime:
            return EffectAspect::Bar;
        case ValueBox::AssociationRepeat:
            return EffectAspect::Module;
        case ValueBox::BassHoldTime:
        case ValueBox::RgbThreshold:
        case ValueBox::XyThreshold:
        case ValueBox::VjMode:
            break;
    }
    return EffectAspect::Settings;
}

}  // namespace

Effect& EffectEditor::effect() {
    if (effectOpen()) return m.effects.at(m.currentEffect);
    m_blank = Effect{};
    return m_blank;
}

const Effect& EffectEditor::effect() const {
    return effectOpen() ? m.effects.at(m.currentEffect) : m_blank;
}

void EffectEditor::setHistory(EditHistory* history, std::function<void()> reveal) {
    m_history = history;
    m_reveal = std::move(reveal);
}

QString EffectEditor::effectEdit(const QString& what) const {
    return QStringLiteral("效果 %1 ").arg(m.currentEffect) + what;
}

TableEdit<Effect> EffectEditor::recordEdit(const QString& description, const QString& mergeKey) {
    const int e = m.currentEffect;
    return {history(),
            effect(),
            QStringLiteral("效果 %1").arg(e),
            description,
            mergeKey,
            [this, e, pos = m_pos](const Effect& fx) { return restore(e, pos, fx, nullptr); }};
}

SnapshotEdit<EffectWithBank> EffectEditor::recordBankEdit(const QString& description) {
    const int e = m.currentEffect;
    return {history(),
            [this] {
                return EffectWithBank{effect(), m.bank};
            },
            QStringLiteral("效果 %1 素材库").arg(e),
            description,
            {},
            [this, e, pos = m_pos](const EffectWithBank& s) {
                return restore(e, pos, s.effect, &s.bank);
            }};
}

Outcome EffectEditor::restore(int e, const EffectEditorPosition& pos, const Effect& fx,
                              const MaterialBank* bank) {
    if (m.currentEffect != e) {
        const Outcome switched = switchEffect(e, m.currentEffect, m.bank, m.lib, m.images);
        if (!switched.done) return switched;
    }
    m.effects.at(e) = fx;
    if (bank != nullptr) m.bank = *bank;
    m_pos = validPosition(fx, pos);
    announce(EffectAspects::all());
    if (m_reveal) m_reveal();
    return Outcome::success();
}

bool EffectEditor::enter() {
    const bool first = !m_initialised;
    if (first) {
        m_initialised = true;
        m_pos = EffectEditorPosition{};
    }
    m.engine.resetRunState();
    applyEffectDefaults(effect());
    m_copiedBar = 0;
    announce(EffectAspects::all());
    return first;
}

int EffectEditor::shownPage(int part) const {
    return kx::shownPage(effect(), part, m_pos.barPage[part]);
}

void EffectEditor::chooseBar(int part, int button) {
    if (part != kNoBassPart && part != kBassPart) return;
    if (button < 1 || button > kBarsPerPage) return;
    m_pos.barPage[part] = shownPage(part);
    m_pos.part = part;
    m_pos.bar = barOfButton(m_pos.barPage[part], button);
    sendDrumBeat();
    announce(EffectAspect::Position);
}

void EffectEditor::turnPage(int part) {
    m_pos.barPage[part] = nextBarPage(effect(), part, shownPage(part));
    announce(EffectAspect::Position);
}

void EffectEditor::toggleBeatSelection(int slot, int beat) {
    const auto edit =
        recordEdit(effectEdit(QStringLiteral("小节 %1 拍 %2").arg(m_pos.bar).arg(beat)));
    Effect& fx = effect();
    const bool on = beatSelected(fx, m_pos.part, m_pos.bar, beat, m_pos.module, slot);
    if (!setBeatSelection(fx, m_pos.part, m_pos.bar, beat, m_pos.module, slot, on ? 0 : 1)) return;
    announce(EffectAspect::Selections);
    chooseBeat(beat);
}

void EffectEditor::toggleAllBeatsFlag(AllBeatsFlag which, int slot) {
    const auto edit = recordEdit(effectEdit(allBeatsFlagCaption(which)));
    Effect& fx = effect();
    setAllBeatsFlag(fx, which, m_pos.module, slot,
                    allBeatsFlag(fx, which, m_pos.module, slot) ? 0 : 1);
    announce(EffectAspect::Selections);
}

void EffectEditor::correctBeat() {
    m_pos.beat = correctedBeat(effect(), m_pos.part, m_pos.beat);
}

void EffectEditor::chooseBeat(int beat) {
    if (beat < 1 || beat > kMaxBeats) return;
    m_pos.beat = beat;
    sendDrumBeat();
    announce(EffectAspect::Position);
}

bool EffectEditor::nextBeat() {
    const int bars = barCount();
    const int beats = beatsPerBar();
    if (bars == 0 || beats == 0) return false;
    if (m_pos.beat < beats) {
        chooseBeat(m_pos.beat + 1);
        return true;
    }
    const int part = m_pos.part;
    m_pos.barPage[part] = shownPage(part);
    if (m_pos.bar >= bars) {
        m_pos.barPage[part] = 0;
        chooseBar(part, 1);
    } else {
        ++m_pos.bar;
        if (m_pos.bar > barOfButton(m_pos.barPage[part], kBarsPerPage)) ++m_pos.barPage[part];
    }
    sendDrumBeat();
    chooseBeat(1);
    return true;
}

bool EffectEditor::sendDrumBeat() {
    JumpRequest jump{m.jumpRequest};
    const bool sent = Fun_发送一次模拟鼓点(effect(), jump, m_drum);
    m.jumpRequest = jump.state;
    return sent;
}

void EffectEditor::pressAutomatic() {
    m_drum.automatic.press();
    announce(EffectAspect::Drum);
}

void EffectEditor::copyBar() {
    m_copiedPart = m_pos.part;
    m_copiedBar = m_pos.bar;
}

Outcome EffectEditor::pasteBar(Prompter& prompter) {
    if (m_copiedBar == 0) return Outcome::refused(kMsgNothingCopied);
    if (!prompter.askYesNo(kAskOverwriteBar)) return {};
    const auto edit = recordEdit(effectEdit(QStringLiteral("粘贴小节")));
    kx::copyBar(effect(), m_copiedPart, m_copiedBar, m_pos.part, m_pos.bar);
    announce({EffectAspect::Selections, EffectAspect::Bar});
    return Outcome::success();
}

Outcome EffectEditor::clearBar(Prompter& prompter) {
    if (!prompter.askYesNo(kAskClearBar)) return {};
    const auto edit = recordEdit(effectEdit(QStringLiteral("清空小节")));
    clearBarSelections(effect(), m_pos.part, m_pos.bar);
    announce({EffectAspect::Selections, EffectAspect::Bar});
    return Outcome::success();
}

void EffectEditor::moveTo(const EffectEditorPosition& pos) {
    m_pos = validPosition(effect(), pos);
    // A page turned away from the current Bar stays turned (shownPage keeps it within the Bars).
    m_pos.barPage = pos.barPage;
    announce(EffectAspect::Position);
}

void EffectEditor::chooseModule(int module) {
    if (module < 1 || module > kModules) return;
    m_pos.module = module;
    announce(EffectAspect::Position);
}

void EffectEditor::chooseSlot(int slot) {
    if (slot < 1 || slot > kSlotsPerModule) return;
    m_pos.slot = slot;
    announce(EffectAspect::Position);
}

void EffectEditor::setModuleRemark(const QString& text) {
    const QString what = effectEdit(QStringLiteral("模块 %1 备注").arg(m_pos.module));
    const auto edit = recordEdit(what, what);
    kx::setModuleRemark(effect(), m_pos.module, text);
    announce(EffectAspect::Module);
}

void EffectEditor::setEffectRemark(const QString& text) {
    const QString what = effectEdit(QStringLiteral("效果备注"));
    const auto edit = recordEdit(what, what);
    effect().remark = text;
    announce(EffectAspect::Settings);
}

void EffectEditor::setMaterialAssociation(bool on) {
    const auto edit = recordEdit(effectEdit(QStringLiteral("模块 %1 4素材关联").arg(m_pos.module)));
    kx::setMaterialAssociation(effect(), m_pos.module, on ? 1 : 0);
    announce(EffectAspect::Module);
}

void EffectEditor::setSwitch(EffectSetting field, bool on) {
    const auto edit = recordEdit(effectEdit(switchCaption(field)));
    setEffectSetting(effect(), field, on ? 1 : 0);
    announce(EffectAspect::Settings);
}

void EffectEditor::setBarBassHold(bool on) {
    const auto edit = recordEdit(effectEdit(QStringLiteral("低音保持")));
    kx::setBarBassHold(effect(), m_pos.part, m_pos.bar, on ? 1 : 0);
    announce(EffectAspect::Bar);
}

void EffectEditor::chooseEntry(ValueBox box, int entry, int part) {
    const std::optional<int> value = entryValue(box, entry);
    if (!value) return;
    const auto edit = recordEdit(effectEdit(valueBoxCaption(box)));
    Effect& fx = effect();
    switch (box) {
        case ValueBox::BarCount:
            setBarCount(fx, part, *value);
            break;
        case ValueBox::BeatsPerBar:
            setBeatsPerBar(fx, part, *value);
            break;
        case ValueBox::BassHoldTime:
            setEffectSetting(fx, &Effect::bassHoldTime, *value);
            break;
        case ValueBox::RgbThreshold:
            setEffectSetting(fx, &Effect::rgbThreshold, *value);
            break;
        case ValueBox::XyThreshold:
            setEffectSetting(fx, &Effect::xyThreshold, *value);
            break;
        case ValueBox::VjMode:
            setEffectSetting(fx, &Effect::vjMode, *value);
            break;
        case ValueBox::BarRepeat:
            setBarRepeat(fx, m_pos.part, m_pos.bar, *value);
            break;
        case ValueBox::AssociationRepeat:
            setAssociationRepeat(fx, m_pos.module, *value);
            break;
        case ValueBox::DwellTime:
            setBeatDwellTime(fx, m_pos.part, m_pos.bar, *value);
            break;
    }
    announce(boxAspect(box));
}

bool EffectEditor::typeDwellTime(const QString& text) {
    const std::optional<int> tenths = parseDwellTime(text);
    const QString what = effectEdit(valueBoxCaption(ValueBox::DwellTime));
    const auto edit =
        recordEdit(what, what + QStringLiteral(" %1/%2").arg(m_pos.part).arg(m_pos.bar));
    const bool stored = tenths && setBeatDwellTime(effect(), m_pos.part, m_pos.bar, *tenths);
    // A refused text is announced too: the box shows the stored time again.
    announce(EffectAspect::Bar);
    return stored;
}

bool EffectEditor::indicatorTick() {
    if (m_drum.indicatorRefreshes <= 0) return false;
    --m_drum.indicatorRefreshes;
    return true;
}

bool EffectEditor::warningTick() {
    Effect& fx = effect();
    updateCorrespondenceInvalid(fx);
    if (fx.correspondenceInvalid != 1) return false;
    m_blinkPhase = 1 - m_blinkPhase;
    return m_blinkPhase == 1;
}

Outcome EffectEditor::announced(Outcome outcome) {
    if (outcome.done) announce(EffectAspects::all());
    return outcome;
}

EffectFilesContext EffectEditor::files() {
    return EffectFilesContext{m.effects, m.bank, m.currentEffect, m.lib, m.images};
}

Outcome EffectEditor::clearEffect(Prompter& prompter) {
    if (!effectOpen() || !prompter.askYesNo(kAskClearEffect)) return {};
    const auto edit = recordBankEdit(QStringLiteral("清空效果"));
    kx::clearEffect(effect());
    clearBank(m.bank);
    // A missing image is no error; the next save writes the empty bank anyway.
    m.images.setImage(m.currentEffect, {});
    announce(EffectAspects::all());
    return Outcome::success();
}

Outcome EffectEditor::importEffect(const FileDialogs& dialogs) {
    if (!effectOpen() || !dialogs.prompter.askYesNo(kAskOverwriteEffect)) return {};
    const auto edit = recordBankEdit(QStringLiteral("导入效果"));
    EffectFilesContext ctx = files();
    return announced(kx::importEffect(ctx, dialogs));
}

Outcome EffectEditor::exportEffect(const FileDialogs& dialogs) {
    EffectFilesContext ctx = files();
    return kx::exportEffect(ctx, dialogs);
}

Outcome EffectEditor::importModule(const FileDialogs& dialogs) {
    if (!effectOpen() || !dialogs.prompter.askYesNo(kAskOverwriteModule)) return {};
    const auto edit = recordBankEdit(effectEdit(QStringLiteral("导入模块 %1").arg(m_pos.module)));
    EffectFilesContext ctx = files();
    return announced(kx::importModule(ctx, m_pos.module, dialogs));
}

Outcome EffectEditor::exportModule(const FileDialogs& dialogs) {
    EffectFilesContext ctx = files();
    return kx::exportModule(ctx, m_pos.module, dialogs);
}

}  // namespace kx
