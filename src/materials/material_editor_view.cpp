#include "materials/material_editor_view.h"

#include <QEvent>
#include <QGroupBox>
#include <QMouseEvent>
#include <QSignalBlocker>

#include "materials/material_view_support.h"
#include "shell/appearance_view.h"
#include "shell/widgets.h"

namespace kx {

namespace {

// The window's areas, in pixels of the view below the title bar (1280 x 681).
constexpr int kRightColumn = 838;
constexpr int kRightWidth = 434;
constexpr int kLeftWidth = 820;
constexpr int kLowerZoneTop = 418;
constexpr int kLowerZoneHeight = 258;

QComboBox* list(QWidget* parent, const QString& name, const QStringList& items, QRect r,
                bool editable = false) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(editable);
    c->addItems(items);
    c->setGeometry(r);
    return c;
}

void setBase(QWidget* w, MaterialColour colour) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, bgrColour(colour));
    w->setPalette(pal);
}

// A control's contents redrawn from the model without its handlers hearing of it.
void setChecked(QCheckBox* box, bool on) {
    const QSignalBlocker quiet(box);
    box->setChecked(on);
}

}  // namespace

MaterialEditorView::MaterialEditorView(MaterialEditor& editor, Prompter& prompter,
                                       const Appearance& appearance, FaderPictures pictures,
                                       Hooks hooks, QWidget* parent)
    : QWidget(parent),
      m_editor(editor),
      m_prompter(prompter),
      m_appearance(appearance),
      m_hooks(std::move(hooks)) {
    setObjectName("MaterialEditorView");
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0xe0, 0xe4, 0xec));
    setPalette(pal);
    m_editor.setColours(materialEditorColours(appearance));
    buildHeader();
    buildFixtureBar();
    buildFaders(pictures);
    buildValueTools();
    buildSteps();
    buildSettings();
    buildTemporaryChannels();
    buildPanels();
    applyViewColours(this, m_appearance);
    m_editor.observe([this](MaterialAspects changed) { redraw(changed); });
    Fun_所有控件数据刷新();
}

void MaterialEditorView::tell(const Outcome& outcome) {
    if (!outcome.message.isEmpty()) m_prompter.message(outcome.message);
}

void MaterialEditorView::buildHeader() {
    m_effectCaption = makeLabel(this, {}, QRect(8, 6, 180, 28), "Label效果");
    m_moduleCaption = makeLabel(this, {}, QRect(192, 6, 150, 28), "Label模块");
    makeLabel(this, "备注", QRect(346, 6, 34, 28));
    // Right of the undo buttons, below "返回": which Effect, Module and Slot this is.
    m_position = makeLabel(this, {}, QRect(1120, 66, 152, 26), "Label素材位置");
    QFont bold = m_position->font();
    bold.setBold(true);
    m_position->setFont(bold);
    m_position->setAlignment(Qt::AlignVCenter | Qt::AlignRight);
    m_remark = makeTextBox(this, "Text素材备注", QRect(382, 6, 150, 28));
    connect(m_remark, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_editor.setRemark(text); });

    struct Operation {
        const char* name;
        const char* caption;
        std::function<void()> action;
    };
    const Operation operations[] = {
        {"Command删除", "删除", reopenedAction(&MaterialEditor::deleteMaterial)},
        {"Command素材另存", "素材另存", [this] { tell(m_editor.exportMaterial()); }},
        {"Command导入素材", "导入素材", reopenedAction(&MaterialEditor::importMaterial)},
        {"Command复制素材", "复制素材", [this] { tell(m_editor.copyMaterial()); }},
        {"Command粘贴素材", "粘贴素材", reopenedAction(&MaterialEditor::pasteMaterial)},
        {"Command标准素材", "标准素材",
         [this] {
             if (m_hooks.builtinMaterials) m_hooks.builtinMaterials(0);
         }},
        {"Command个性素材", "个性素材",
         [this] {
             if (m_hooks.builtinMaterials) m_hooks.builtinMaterials(1);
         }},
        {"Command跑马工具", "跑马工具",
         [this] {
             if (m_hooks.chaseTool) m_hooks.chaseTool();
         }},
    };
    int x = 540;
    for (const Operation& op : operations) {
        QPushButton* b = makeButton(this, op.name, op.caption, QRect(x, 6, 72, 28));
        connect(b, &QPushButton::clicked, this, op.action);
        x += 76;
    }
    QPushButton* back = makeButton(this, "Command返回", "返回", QRect(1190, 6, 82, 28));
    connect(back, &QPushButton::clicked, this, [this] {
        if (m_hooks.back) m_hooks.back();
    });
}

void MaterialEditorView::buildSettings() {
    auto* box = new QGroupBox("设置", this);
    box->setObjectName("Frame设置");
    box->setGeometry(kRightColumn, 96, kRightWidth, 236);

    m_perStepTime = makeCheckBox(box, "Check单步时间", "单步时间", QRect(8, 20, 90, 26));
    connect(m_perStepTime, &QCheckBox::clicked, this,
            [this](bool on) { m_editor.setPerStepTime(on); });
    m_timeCaption = makeLabel(box, {}, QRect(102, 20, 60, 26), "Label时间标题");
    m_unifiedTime = makeTextBox(box, "Text统一时间", QRect(164, 20, 70, 26));
    onTypedEntry(m_unifiedTime, this, [this](const QString& text) {
        const TypedInto typing(m_typed, m_unifiedTime);
        m_editor.typeUnifiedTime(text);
    });
    m_stepTime = makeTextBox(box, "Text单步时间", QRect(164, 20, 70, 26));
    onTypedEntry(m_stepTime, this, [this](const QString& text) {
        const TypedInto typing(m_typed, m_stepTime);
        markField(m_stepTime, m_editor.typeStepTime(text), m_editor.colours());
    });
    m_timeText = makeLabel(box, {}, QRect(240, 20, 80, 26), "Label时间显示");

    m_allStepsFade = makeCheckBox(box, "Check所有步渐变", "所有步渐变", QRect(8, 50, 120, 26));
    connect(m_allStepsFade, &QCheckBox::clicked, this,
            [this](bool on) { m_editor.setAllStepsFade(on); });
    m_fadeToNext =
        makeCheckBox(box, "Check此步渐变到下一步", "此步渐变到下一步", QRect(134, 50, 180, 26));
    connect(m_fadeToNext, &QCheckBox::clicked, this,
            [this](bool on) { m_editor.setFadeToNext(on); });

    makeLabel(box, "统一跳步", QRect(8, 80, 60, 26));
    m_jumpSize = makeTextBox(box, "Text统一跳步", QRect(70, 80, 60, 26));
    onTypedEntry(m_jumpSize, this, [this](const QString& text) {
        const TypedInto typing(m_typed, m_jumpSize);
        markField(m_jumpSize, m_editor.typeJumpSize(text), m_editor.colours());
    });
    m_jumpAtRangeEnd = makeCheckBox(box, "Check到达跳步区间末尾才跳步", "到达跳步区间末尾才跳步",
                                    QRect(140, 80, 280, 26));
    connect(m_jumpAtRangeEnd, &QCheckBox::clicked, this,
            [this](bool on) { m_editor.setJumpAtRangeEnd(on); });

    makeLabel(box, "亮度百分比", QRect(8, 110, 72, 26));
    m_brightness = list(box, "Combo亮度百分比", brightnessList(), QRect(82, 110, 70, 26));
    connectChoice(m_brightness, &MaterialEditor::chooseBrightness);
    makeLabel(box, "下载后硬件加速", QRect(170, 110, 100, 26));
    m_hardwareSpeed =
        list(box, "Combo下载后硬件加速", hardwareSpeedList(), QRect(272, 110, 64, 26));
    connectChoice(m_hardwareSpeed, &MaterialEditor::chooseHardwareSpeed);
    makeLabel(box, "素材启动方式", QRect(8, 140, 90, 26));
    m_startMode = list(box, "Combo素材_启动方式", startModeList(), QRect(100, 140, 130, 26));
    connectChoice(m_startMode, &MaterialEditor::chooseStartMode);
    m_runFromStart =
        makeCheckBox(box, "Check调用从头运行", "调用从头运行", QRect(246, 140, 150, 26));
    connect(m_runFromStart, &QCheckBox::clicked, this,
            [this](bool on) { m_editor.setRunFromStart(on); });
    makeLabel(box, "虚拟调光", QRect(8, 170, 90, 26));
    m_virtualDimming = list(box, "Combo虚拟调光", virtualDimmingList(), QRect(100, 170, 170, 26));
    connectChoice(m_virtualDimming, &MaterialEditor::chooseVirtualDimming);
    makeLabel(box, "XY动作辅助生成", QRect(8, 200, 100, 26));
    m_motionMode = list(box, "ComboXY动作辅助生成", motionModeList(), QRect(110, 200, 70, 26));
    connectChoice(m_motionMode, &MaterialEditor::chooseMotionMode);
    QPushButton* show = makeButton(box, "Command显示参数", "显示参数", QRect(190, 200, 90, 26));
    connect(show, &QPushButton::clicked, this, [this] { m_editor.showMotionPanel(); });
}

// The helpers below make one connection each, outside any other lambda: a lambda that
// captured this, made inside another that captured it too, is miscompiled under the
// sanitizers.
std::function<void()> MaterialEditorView::reopenedAction(Outcome (MaterialEditor::*operation)()) {
    return [this, operation] { tell((m_editor.*operation)()); };
}

void MaterialEditorView::connectChoice(QComboBox* c, void (MaterialEditor::*choose)(int)) {
    connect(c, &QComboBox::activated, this,
            [this, choose](int index) { (m_editor.*choose)(index); });
}

void MaterialEditorView::addStepButton(const QString& name, const QString& caption, QRect r,
                                       std::function<Outcome()> op) {
    QPushButton* b = makeButton(this, name, caption, r);
    connect(b, &QPushButton::clicked, this, [this, op] { tell(op()); });
}

std::function<Outcome()> MaterialEditorView::plainStep(void (MaterialEditor::*op)()) {
    return [this, op] {
        (m_editor.*op)();
        return Outcome::success();
    };
}

void MaterialEditorView::buildSteps() {
    constexpr int y = 386;
    constexpr int h = 26;
    m_stepList = list(this, "Combo当前步", {}, QRect(8, y, 70, h));
    connect(m_stepList, &QComboBox::activated, this,
            [this](int index) { m_editor.selectStep(index); });
    addStepButton("Command上一步", "上一步", QRect(82, y, 62, h),
                  plainStep(&MaterialEditor::previousStep));
    addStepButton("Command下一步", "下一步", QRect(148, y, 62, h),
                  plainStep(&MaterialEditor::nextStep));
    m_total = makeLabel(this, {}, QRect(214, y, 92, h), "Label总步数");
    addStepButton("Command加一步", "加一步", QRect(308, y, 62, h),
                  [this] { return m_editor.addStep(false); });
    addStepButton("Command复制加一步", "复制加一步", QRect(374, y, 84, h),
                  [this] { return m_editor.addStep(true); });
    addStepButton("Command删除步", "删除步", QRect(462, y, 62, h),
                  plainStep(&MaterialEditor::deleteStep));
    m_copyCount = list(this, "Combo复制步", numberList(1, 60), QRect(530, y, 56, h), true);
    m_copyCount->setCurrentIndex(-1);
    onTypedOrChosen(m_copyCount, this, [this](const QString& text) {
        m_editor.typeCopyCount(text);
        setBase(m_copyCount, m_editor.copyCountColour());
    });
    addStepButton("Command复制步", "复制步", QRect(590, y, 62, h),
                  [this] { return m_editor.copySteps(); });
    addStepButton("Command粘贴步", "粘贴步", QRect(656, y, 62, h),
                  [this] { return m_editor.pasteSteps(); });
    addStepButton("Command尾部粘贴", "尾部粘贴", QRect(722, y, 74, h),
                  [this] { return m_editor.pasteStepsAtEnd(); });
}

void MaterialEditorView::buildTemporaryChannels() {
    auto* box = new QGroupBox("临时通道", this);
    box->setObjectName("Frame临时通道");
    box->setGeometry(kRightColumn, 336, kRightWidth, 104);
    m_tempList = new QListWidget(box);
    m_tempList->setObjectName("List临时通道");
    m_tempList->setGeometry(8, 20, kRightWidth - 16, 76);
    m_tempList->setToolTip("双击: 临时通道按钮");
    m_tempList->viewport()->installEventFilter(this);
}

void MaterialEditorView::buildPanels() {
    m_fixturePanel = new MaterialFixturePanel(m_editor, this);
    m_fixturePanel->setGeometry(6, 94, kLeftWidth, 286);

    m_tempPanel = new MaterialCodeGrid("Frame临时通道按钮", "临时通道", "Command临时通道选择",
                                       {[this](int code) { tell(m_editor.pressTempCode(code)); },
                                        [this] { m_editor.flipTempPage(); },
                                        {}},
                                       this);
    m_tempPanel->setGeometry(6, kLowerZoneTop, kLeftWidth, kLowerZoneHeight);

    m_picker = new MaterialCodeGrid(
        "Frame通道定义", "通道定义", "Command通道定义选择",
        {[this](int code) { m_editor.pickCode(code); }, [this] { m_editor.flipPickerPage(); },
         [this] { m_editor.closePicker(); }},
        this);
    m_picker->setGeometry(6, kLowerZoneTop, kLeftWidth, kLowerZoneHeight);

    m_motionPanel = new MaterialMotionPanel(m_editor, this);
    m_motionPanel->setGeometry(kRightColumn, 446, kRightWidth, 230);

    m_demo = new MaterialDemoPanel(m_editor,
                                   {[this] {
                                        if (m_hooks.requestJump) m_hooks.requestJump();
                                    },
                                    [this] { leaveDemo(); }},
                                   this);
    m_demo->setGeometry(6, kLowerZoneTop, kLeftWidth, kLowerZoneHeight);
    m_demo->hide();
}

void MaterialEditorView::leaveDemo() {
    m_editor.stopDemo();
}

bool MaterialEditorView::eventFilter(QObject* watched, QEvent* event) {
    if (m_tempList && watched == m_tempList->viewport()) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            m_editor.toggleTempPanel();
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) m_tempList->clearSelection();
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        for (int v = 1; v <= kMaxVirtualFixtures; ++v) {
            if (watched != m_fixtureButtons[v]) continue;
            m_editor.rightClickFixture(v);
            return true;
        }
    }
    for (int k = 1; k <= kMaxMaterialChannels; ++k) {
        if (watched == m_definitions[k] && event->type() == QEvent::MouseButtonPress) {
            m_editor.clickDefinition(k);
            return true;
        }
        if ((watched == m_values[k] && event->type() == QEvent::FocusIn) ||
            (watched == m_faders[k] && event->type() == QEvent::MouseButtonPress))
            Fun_鼠标滚轮焦点(k);
    }
    return QWidget::eventFilter(watched, event);
}

void MaterialEditorView::hideEvent(QHideEvent* event) {
    if (m_hooks.setWheelTarget) m_hooks.setWheelTarget(0);
    QWidget::hideEvent(event);
}

void MaterialEditorView::Fun_窗体载入(int module, int slot, const QString& effectName,
                                      const QString& moduleName) {
    m_editor.open(module, slot, effectName, moduleName);
    if (m_hooks.setWheelTarget) m_hooks.setWheelTarget(0);
}

void MaterialEditorView::reload() {
    m_editor.reload();
}

void MaterialEditorView::Fun_所有控件数据刷新() {
    redraw(MaterialAspect::Opened);
}

void MaterialEditorView::redraw(MaterialAspects changed) {
    using A = MaterialAspect;
    if (changed.touches(A::Opened)) changed = MaterialAspects::all();
    if (changed.touches(A::Captions)) drawCaptions();
    if (changed.touches(A::Settings)) drawSettings();
    if (changed.touches({A::Settings, A::Steps})) drawTimes();
    if (changed.touches(A::Steps)) drawSteps();
    if (changed.touches({A::Fixtures, A::Channels})) drawFixtureBar();
    if (changed.touches({A::Steps, A::Fixtures, A::Values, A::Channels})) drawChannels();
    if (changed.touches(A::TempChannels)) drawTempChannels();
    if (changed.touches({A::Picker, A::Channels})) drawPicker();
    if (changed.touches({A::FixturePanel, A::Channels}))
        drawFixturePanel(changed.touches({A::Opened, A::FixturePanel}));
    if (changed.touches({A::MotionPanel, A::Fixtures})) drawMotionPanel();
    if (changed.touches(A::Demo)) drawDemo();
    if (changed.touches(A::Channels)) showDefinitionsNotice();
}

void MaterialEditorView::drawCaptions() {
    m_effectCaption->setText(m_editor.effectCaption());
    m_moduleCaption->setText(m_editor.moduleCaption());
    m_position->setText(m_editor.positionCaption());
}

void MaterialEditorView::drawSettings() {
    const Material& m = m_editor.material();
    if (m_remark->text() != m.remark()) m_remark->setText(m.remark());
    setChecked(m_allStepsFade, m.allStepsFade() == 1);
    m_fadeToNext->setVisible(m_editor.fadeToNextShown());
    if (m_typed != m_jumpSize) {
        m_jumpSize->setText(QString::number(m.jumpSize()));
        markField(m_jumpSize, FieldMark::Normal, m_editor.colours());
    }
    setChecked(m_jumpAtRangeEnd, m.jumpAtRangeEnd() == 1);
    m_brightness->setCurrentIndex(m_editor.brightnessPosition());
    m_startMode->setCurrentIndex(m.startMode());
    m_virtualDimming->setCurrentIndex(m.virtualDimming());
    m_hardwareSpeed->setCurrentIndex(m.hardwareSpeed());
    setChecked(m_runFromStart, m.runFromStart() == 1);
    m_motionMode->setCurrentIndex(m.motionMode());
}

void MaterialEditorView::drawSteps() {
    const QStringList steps = m_editor.stepList();
    if (m_stepList->count() != steps.size()) {
        m_stepList->clear();
        m_stepList->addItems(steps);
    }
    m_stepList->setCurrentIndex(m_editor.currentStep() - 1);
    m_total->setText(m_editor.totalCaption());
    setChecked(m_fadeToNext, m_editor.material().stepInfo(m_editor.currentStep()).fadeToNext == 1);
}

void MaterialEditorView::drawTimes() {
    const Material& m = m_editor.material();
    const bool perStep = m_editor.stepTimeBoxShown();
    setChecked(m_perStepTime, perStep);
    m_timeCaption->setText(m_editor.timeCaption());
    m_unifiedTime->setVisible(!perStep);
    m_stepTime->setVisible(perStep);
    // A box typed into keeps what was typed, and its mark.
    if (m_typed != m_unifiedTime) m_unifiedTime->setText(QString::number(m.unifiedTime()));
    if (m_typed != m_stepTime) {
        m_stepTime->setText(QString::number(m.stepTime(m_editor.currentStep())));
        markField(m_stepTime, FieldMark::Normal, m_editor.colours());
    }
    m_timeText->setText(m_editor.shownTimeText());
}

void MaterialEditorView::drawTempChannels() {
    m_tempList->clear();
    m_tempList->addItems(m_editor.tempChannelItems());
    m_tempPanel->setVisible(m_editor.tempPanelOpen());
    if (!m_editor.tempPanelOpen()) return;
    m_tempPanel->refresh(m_editor, m_editor.tempPage(),
                         [this](int code) { return m_editor.tempCodeColour(code); });
    m_tempPanel->raise();
}

void MaterialEditorView::drawPicker() {
    const bool open = m_editor.definingChannel() != 0;
    m_picker->setVisible(open);
    if (!open) return;
    m_picker->setTitle("通道定义  " + QString::number(m_editor.definingChannel()));
    m_picker->refresh(m_editor, m_editor.pickerPage(),
                      [this](int code) { return m_editor.pickerCodeColour(code); });
    m_picker->raise();
}

void MaterialEditorView::drawFixturePanel(bool counts) {
    const bool open = m_editor.fixturePanelOpen();
    m_fixturePanel->setVisible(open);
    if (!open) return;
    m_fixturePanel->redraw(counts);
}

void MaterialEditorView::drawMotionPanel() {
    const bool shown = m_editor.motionPanelShown();
    m_motionPanel->setVisible(shown);
    if (shown) m_motionPanel->refresh();
}

void MaterialEditorView::drawDemo() {
    // A demonstration that ended leaves the running view.
    if (!m_demo->isHidden() && !m_editor.demoOpen() && m_hooks.setLiveView) m_hooks.setLiveView(7);
    m_demo->setVisible(m_editor.demoOpen());
    m_demo->refresh();
}

}  // namespace kx
