// The Effect editor's panels: the current Bar's settings, the Module panel and the Effect-wide
// settings with the file actions.
#include <QLineEdit>

#include "effects/effect_editor_view.h"
#include "shell/appearance_view.h"
#include "shell/widgets.h"

namespace kx {

namespace {

QLineEdit* remarkBox(QWidget* parent, const QString& name, QRect r) {
    QLineEdit* t = makeTextBox(parent, name, r);
    // The files keep 20 characters of a remark.
    t->setMaxLength(kEffectTextMax);
    return t;
}

}  // namespace

QComboBox* EffectEditorView::valueBox(QWidget* parent, const QString& name, ValueBox box, QRect r) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(valueBoxEntries(box).texts);
    c->setGeometry(r);
    c->setMaxVisibleItems(16);
    return c;
}

void EffectEditorView::connectEntry(QComboBox* box, ValueBox which, int part) {
    connect(box, &QComboBox::activated, this,
            [this, which, part](int entry) { m_editor.chooseEntry(which, entry, part); });
}

void EffectEditorView::connectSwitch(QCheckBox* box, EffectSetting field) {
    connect(box, &QCheckBox::clicked, this,
            [this, field](bool on) { m_editor.setSwitch(field, on); });
}

void EffectEditorView::showEntry(QComboBox* box, ValueBox which, int value) {
    box->setCurrentIndex(entryOf(which, value));
}

void EffectEditorView::showText(QLineEdit* box, const QString& text) {
    // Rewriting what is being typed would move the cursor to the end.
    if (box->text() != text) box->setText(text);
}

void EffectEditorView::buildBarSettings() {
    m_barFrame = new QGroupBox(barFrameTitle(kNoBassPart, 1), this);
    m_barFrame->setObjectName("Frame当前小节设置");
    m_barFrame->setGeometry(710, 192, 566, 64);
    m_barBassHold = makeCheckBox(m_barFrame, "Check低音保持", "低音保持", QRect(10, 26, 100, 26));
    connect(m_barBassHold, &QCheckBox::clicked, this,
            [this](bool on) { m_editor.setBarBassHold(on); });
    makeLabel(m_barFrame, "小节重复次数", QRect(116, 28, 96, 22));
    m_barRepeat =
        valueBox(m_barFrame, "Combo小节重复次数", ValueBox::BarRepeat, QRect(212, 26, 60, 26));
    connectEntry(m_barRepeat, ValueBox::BarRepeat);
    makeLabel(m_barFrame, "拍子停留时间", QRect(286, 28, 96, 22));
    m_dwell =
        valueBox(m_barFrame, "Combo小节停留时间", ValueBox::DwellTime, QRect(382, 26, 80, 26));
    m_dwell->setEditable(true);
    m_dwell->setInsertPolicy(QComboBox::NoInsert);
    connect(m_dwell->lineEdit(), &QLineEdit::textEdited, this, [this] {
        m_typingDwell = true;
        Fun_小节时间_check();
        m_typingDwell = false;
    });
    connect(m_dwell, &QComboBox::activated, this, [this] { Fun_小节时间_check(); });
    m_dwellLabel = makeLabel(m_barFrame, {}, QRect(472, 28, 80, 22));
    m_dwellLabel->setObjectName("Label拍子停留时间");
}

void EffectEditorView::buildModules() {
    auto* box = new QGroupBox("功能模块", this);
    box->setObjectName("Frame功能模块");
    box->setGeometry(710, 262, 566, 338);
    for (int m = 1; m <= kModules; ++m) {
        QPushButton* b = makeButton(box, "Command功能模块" + QString::number(m), {},
                                    QRect(8 + (m - 1) % 5 * 110, 24 + (m - 1) / 5 * 36, 106, 32));
        makeGraphical(b);
        connect(b, &QPushButton::clicked, this, [this, m] { m_editor.chooseModule(m); });
        m_modules[m - 1] = b;
    }
    makeLabel(box, "模块", QRect(10, 176, 40, 24));
    makeLabel(box, "备注", QRect(10, 198, 40, 24));
    m_moduleRemark = remarkBox(box, "Text模块备注", QRect(52, 182, 220, 32));
    connect(m_moduleRemark, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_editor.setModuleRemark(text); });
    m_association = makeCheckBox(box, "Check4素材关联", "4素材关联", QRect(10, 232, 120, 28));
    connect(m_association, &QCheckBox::clicked, this,
            [this](bool on) { m_editor.setMaterialAssociation(on); });
    m_associationRepeatLabel = makeLabel(box, "单素材重复", QRect(140, 234, 80, 24));
    m_associationRepeat = valueBox(box, "Combo素材关联重复次数", ValueBox::AssociationRepeat,
                                   QRect(222, 232, 60, 26));
    connectEntry(m_associationRepeat, ValueBox::AssociationRepeat);
    QPushButton* save = makeButton(box, "Command模块另存为", "模块另存为", QRect(10, 280, 130, 40));
    connect(save, &QPushButton::clicked, this,
            [this] { report(m_editor.exportModule(m_services.dialogs)); });
    QPushButton* load = makeButton(box, "Command导入模块", "导入模块", QRect(150, 280, 130, 40));
    connect(load, &QPushButton::clicked, this,
            [this] { report(m_editor.importModule(m_services.dialogs)); });
}

void EffectEditorView::buildEffectSettings() {
    auto* box = new QGroupBox("效果设置", this);
    box->setObjectName("Frame效果设置");
    box->setGeometry(650, 2, 626, 186);
    makeLabel(box, "效果备注", QRect(10, 26, 70, 24));
    m_effectRemark = remarkBox(box, "Text效果备注", QRect(80, 22, 220, 30));
    connect(m_effectRemark, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_editor.setEffectRemark(text); });
    m_independentBass =
        makeCheckBox(box, "Check开启独立低音", "开启独立低音", QRect(320, 22, 140, 28));
    connectSwitch(m_independentBass, &Effect::independentBass);
    m_correspondence =
        makeCheckBox(box, "Check低音返回时拍子对应", "低音返回时拍子对应", QRect(460, 22, 160, 28));
    connectSwitch(m_correspondence, &Effect::beatCorrespondence);
    m_bassDisabled = makeCheckBox(box, "Check禁止低音", "禁止低音", QRect(320, 56, 140, 28));
    connectSwitch(m_bassDisabled, &Effect::bassDisabled);
    m_bassSwitchJumps =
        makeCheckBox(box, "Check低音切换跳小节", "低音切换跳小节", QRect(460, 56, 160, 28));
    connectSwitch(m_bassSwitchJumps, &Effect::bassSwitchJumpsBar);

    makeLabel(box, "低音保持时间", QRect(10, 62, 96, 24));
    m_bassHoldTime =
        valueBox(box, "Combo低音保持时间", ValueBox::BassHoldTime, QRect(106, 60, 70, 26));
    connectEntry(m_bassHoldTime, ValueBox::BassHoldTime);
    makeLabel(box, "VJ 控制方式", QRect(10, 98, 96, 24));
    m_vjMode = valueBox(box, "ComboVJ控制方式", ValueBox::VjMode, QRect(106, 96, 120, 26));
    connectEntry(m_vjMode, ValueBox::VjMode);
    makeLabel(box, "RGB阀值", QRect(240, 98, 60, 24));
    m_rgb = valueBox(box, "ComboRGB阀值", ValueBox::RgbThreshold, QRect(300, 96, 70, 26));
    connectEntry(m_rgb, ValueBox::RgbThreshold);
    makeLabel(box, "XY 阀值", QRect(384, 98, 60, 24));
    m_xy = valueBox(box, "ComboXY阀值", ValueBox::XyThreshold, QRect(444, 96, 100, 26));
    connectEntry(m_xy, ValueBox::XyThreshold);

    QPushButton* clear = makeButton(box, "Command清空效果", "清空效果", QRect(10, 136, 120, 36));
    connect(clear, &QPushButton::clicked, this, [this] {
        const Outcome outcome = m_editor.clearEffect(m_services.dialogs.prompter);
        report(outcome);
        if (outcome.done) m_services.reenter();
    });
    QPushButton* load = makeButton(box, "Command导入效果", "导入效果", QRect(140, 136, 120, 36));
    connect(load, &QPushButton::clicked, this, [this] {
        const Outcome outcome = m_editor.importEffect(m_services.dialogs);
        report(outcome);
        if (outcome.done) m_services.reenter();
    });
    QPushButton* save = makeButton(box, "Command效果另存", "效果另存", QRect(270, 136, 120, 36));
    connect(save, &QPushButton::clicked, this,
            [this] { report(m_editor.exportEffect(m_services.dialogs)); });
}

void EffectEditorView::drawEffectSettings() {
    showText(m_effectRemark, fx().remark);
    m_independentBass->setChecked(fx().independentBass != 0);
    m_correspondence->setChecked(fx().beatCorrespondence != 0);
    const bool bassDisabled = fx().bassDisabled != 0;
    m_bassDisabled->setChecked(bassDisabled);
    QFont font = m_bassDisabled->font();
    font.setBold(bassDisabled);
    m_bassDisabled->setFont(font);
    setControlColours(m_bassDisabled, std::nullopt,
                      bassDisabled ? m_colours.bassDisabledOn : m_colours.bassDisabledOff);
    m_bassSwitchJumps->setChecked(fx().bassSwitchJumpsBar != 0);
    showEntry(m_bassHoldTime, ValueBox::BassHoldTime, fx().bassHoldTime);
    showEntry(m_vjMode, ValueBox::VjMode, fx().vjMode);
    showEntry(m_rgb, ValueBox::RgbThreshold, fx().rgbThreshold);
    showEntry(m_xy, ValueBox::XyThreshold, fx().xyThreshold);
}

void EffectEditorView::drawShape() {
    for (int p : {kNoBassPart, kBassPart}) {
        showEntry(m_barCounts[p], ValueBox::BarCount, fx().parts[p].barCount);
        showEntry(m_beatCounts[p], ValueBox::BeatsPerBar, fx().parts[p].beatsPerBar);
    }
    m_prompt->setVisible(!effectHasContent(fx()));
}

void EffectEditorView::drawModules() {
    const int current = m_editor.position().module;
    showText(m_moduleRemark, fx().modules[current - 1].remark);
    for (int m = 1; m <= kModules; ++m) {
        moduleButton(m)->setText(fx().modules[m - 1].remark);
        setButtonBackColour(
            moduleButton(m),
            moduleButtonColour(m == current, moduleHasMaterials(m_editor.bank(), m), m_colours));
    }
}

void EffectEditorView::drawBarSettings() {
    const BarSettings& bar = currentBar();
    m_barBassHold->setChecked(bar.bassHold != 0);
    showEntry(m_barRepeat, ValueBox::BarRepeat, bar.repeat);
    // While typed into, an accepted time stays as typed; a refused one gives way to the stored.
    if (!m_typingDwell || !parseDwellTime(m_dwell->currentText()))
        m_dwell->setEditText(QString::number(bar.beatDwellTime));
    m_dwellLabel->setText(dwellTimeLabel(bar.beatDwellTime));
}

bool EffectEditorView::Fun_小节时间_check() {
    const bool stored = m_editor.typeDwellTime(m_dwell->currentText());
    setTextBoxBack(m_dwell->lineEdit(), stored ? m_colours.dwellNormal : m_colours.dwellError);
    return stored;
}

void EffectEditorView::drawAssociation() {
    const ModuleSettings& m = fx().modules[m_editor.position().module - 1];
    const bool on = m.materialAssociation != 0;
    m_association->setChecked(on);
    showEntry(m_associationRepeat, ValueBox::AssociationRepeat, m.associationRepeat);
    m_associationRepeat->setVisible(on);
    m_associationRepeatLabel->setVisible(on);
    for (int s = 1; s <= kSlotsPerModule; ++s) {
        m_associationMarks[s - 1]->setVisible(on);
        setButtonBackColour(m_associationMarks[s - 1], rowGroupColour(s, m_colours));
    }
}

}  // namespace kx
