#include "effects/effect_editor_view.h"

#include <QEvent>
#include <QVariant>

#include "shell/appearance_view.h"
#include "shell/widgets.h"

namespace kx {

namespace {

constexpr int kRowTop = 40;
constexpr int kRowPitch = 33;
constexpr int kGridLeft = 194;
constexpr int kGridPitch = 41;
constexpr int kFlagLeft = 528;
constexpr int kFlagPitch = 56;
// The grid row a control belongs to, for the marker that follows the mouse.
constexpr const char* kRowProperty = "effectRow";

int rowY(int slot) {
    return kRowTop + (slot - 1) * kRowPitch;
}

QPushButton* colouredButton(QWidget* parent, const QString& name, const QString& caption, QRect r) {
    QPushButton* b = makeButton(parent, name, caption, r);
    makeGraphical(b);
    return b;
}

}  // namespace

EffectEditorView::EffectEditorView(EffectEditorModel model, Services services, QWidget* parent)
    : QWidget(parent),
      m_editor(model),
      m_services(std::move(services)),
      m_colours(effectEditorColours(m_services.appearance)) {
    setObjectName("EffectEditorView");
    buildBarSelection();
    buildEffectSettings();
    buildBeatArea();
    buildBarSettings();
    buildModules();
    buildDrum();
    m_editor.observe([this](EffectAspects changed) { redraw(changed); });
}

void EffectEditorView::buildBarSelection() {
    auto* box = new QGroupBox("小节选择", this);
    box->setObjectName("Frame小节选择");
    box->setGeometry(4, 2, 640, 186);
    for (int p : {kNoBassPart, kBassPart}) {
        const QString n = QString::number(p);
        const int y = 20 + p * 64;
        QLabel* partLabel =
            makeLabel(box, p == kNoBassPart ? "无低音" : "低音", QRect(8, y + 2, 50, 24));
        QLabel* barsLabel = makeLabel(box, "小节数", QRect(60, y + 2, 48, 24));
        m_barCounts[p] =
            valueBox(box, "Combo小节数" + n, ValueBox::BarCount, QRect(110, y, 60, 26));
        QLabel* beatsLabel = makeLabel(box, "拍数", QRect(182, y + 2, 36, 24));
        m_beatCounts[p] =
            valueBox(box, "Combo拍数" + n, ValueBox::BeatsPerBar, QRect(220, y, 60, 26));
        connectEntry(m_barCounts[p], ValueBox::BarCount, p);
        connectEntry(m_beatCounts[p], ValueBox::BeatsPerBar, p);
        m_bassOnly.push_back(partLabel);
        if (p == kBassPart) {
            m_bassOnly.insert(m_bassOnly.end(),
                              {barsLabel, m_barCounts[p], beatsLabel, m_beatCounts[p]});
        }
        m_pages[p] =
            makeButton(box, "Command小节_页" + n, barPageCaption(0), QRect(300, y, 90, 26));
        connect(m_pages[p], &QPushButton::clicked, this, [this, p] { m_editor.turnPage(p); });
        const QString name = p == kNoBassPart ? "Command小节无低音" : "Command小节低音";
        for (int i = 1; i <= kBarsPerPage; ++i) {
            QPushButton* b = colouredButton(box, name + QString::number(i), QString::number(i),
                                            QRect(8 + (i - 1) * 39, y + 30, 36, 28));
            connect(b, &QPushButton::clicked, this, [this, p, i] { m_editor.chooseBar(p, i); });
            m_bars[p][i - 1] = b;
        }
    }
    QPushButton* copy = makeButton(box, "Command复制小节", "复制小节", QRect(8, 150, 90, 28));
    connect(copy, &QPushButton::clicked, this, [this] { m_editor.copyBar(); });
    QPushButton* paste = makeButton(box, "Command粘贴小节", "粘贴小节", QRect(104, 150, 90, 28));
    connect(paste, &QPushButton::clicked, this,
            [this] { report(m_editor.pasteBar(m_services.dialogs.prompter)); });
    QPushButton* clear = makeButton(box, "Command清空小节", "清空小节", QRect(200, 150, 90, 28));
    connect(clear, &QPushButton::clicked, this,
            [this] { report(m_editor.clearBar(m_services.dialogs.prompter)); });
    m_prompt = new QGroupBox(box);
    m_prompt->setObjectName("Frame提示未设置小节数");
    m_prompt->setGeometry(404, 18, 228, 40);
    makeOpaque(m_prompt);
    QLabel* prompt = makeLabel(m_prompt, kNoShapePrompt, QRect(8, 8, 212, 24));
    prompt->setAlignment(Qt::AlignCenter);
    setControlColours(prompt, std::nullopt, 0x0000FF);
}

void EffectEditorView::buildBeatArea() {
    m_beatFrame = new QGroupBox(this);
    m_beatFrame->setObjectName("Frame拍子");
    m_beatFrame->setGeometry(4, 192, 700, 486);
    QWidget* f = m_beatFrame;
    for (int s = 1; s <= kSlotsPerModule; ++s) {
        m_rowBacks[s - 1] = makeLabel(f, {}, QRect(2, rowY(s) - 1, 694, 32));
        m_rowBacks[s - 1]->setObjectName("Label素材背景" + QString::number(s));
        setControlColours(m_rowBacks[s - 1], rowGroupColour(s, m_colours), std::nullopt);
        m_rowBacks[s - 1]->setProperty(kRowProperty, s);
        m_rowBacks[s - 1]->installEventFilter(this);
    }
    makeLabel(f, "素材(点击编辑)", QRect(42, 14, 146, 22))->setAlignment(Qt::AlignCenter);
    const QStringList flagTitles{"无低音", "低音", "全部"};
    const QStringList flagNames{"Command素材_无低音拍", "Command素材_低音拍", "Command素材_所有拍"};
    const std::array<AllBeatsFlag, 3> flagKinds{AllBeatsFlag::NoBassBeats, AllBeatsFlag::BassBeats,
                                                AllBeatsFlag::BothParts};
    for (int j = 0; j < 3; ++j)
        makeLabel(f, flagTitles[j], QRect(kFlagLeft + j * kFlagPitch, 14, 52, 22))
            ->setAlignment(Qt::AlignCenter);
    for (int k = 1; k <= kMaxBeats; ++k) {
        m_beatTitles[k - 1] =
            makeLabel(f, QString::number(k), QRect(kGridLeft + (k - 1) * kGridPitch, 14, 38, 22));
        m_beatTitles[k - 1]->setAlignment(Qt::AlignCenter);
    }
    for (int s = 1; s <= kSlotsPerModule; ++s) {
        const QString n = QString::number(s);
        const int y = rowY(s);
        QPushButton* mark =
            colouredButton(f, "Command素材关联提示" + n, {}, QRect(16, y + 3, 22, 24));
        connect(mark, &QPushButton::clicked, this, [this, s] { openSlot(s); });
        m_associationMarks[s - 1] = mark;
        QPushButton* material = colouredButton(f, "Command素材" + n, {}, QRect(42, y, 146, 30));
        connect(material, &QPushButton::clicked, this, [this, s] { openSlot(s); });
        material->setProperty(kRowProperty, s);
        material->installEventFilter(this);
        m_materials[s - 1] = material;
        for (int k = 1; k <= kMaxBeats; ++k) {
            QPushButton* b =
                colouredButton(f, "Command素材_当前拍" + QString::number((s - 1) * kMaxBeats + k),
                               {}, QRect(kGridLeft + (k - 1) * kGridPitch, y, 38, 30));
            connect(b, &QPushButton::clicked, this,
                    [this, s, k] { m_editor.toggleBeatSelection(s, k); });
            b->setProperty(kRowProperty, s);
            b->installEventFilter(this);
            m_grid[(s - 1) * kMaxBeats + k - 1] = b;
        }
        for (int j = 0; j < 3; ++j) {
            QPushButton* b = colouredButton(f, flagNames[j] + n, {},
                                            QRect(kFlagLeft + j * kFlagPitch, y, 52, 30));
            connect(b, &QPushButton::clicked, this,
                    [this, s, kind = flagKinds[j]] { m_editor.toggleAllBeatsFlag(kind, s); });
            b->setProperty(kRowProperty, s);
            b->installEventFilter(this);
            m_flags[j][s - 1] = b;
        }
    }
    m_slotMarker = makeLabel(f, "▶", QRect(4, rowY(1), 12, 30));
    m_slotMarker->setObjectName("Picture_当前素材选择");
    setControlColours(m_slotMarker, std::nullopt, m_colours.slotMarker);
    m_rowMarker = makeLabel(f, {}, QRect(0, rowY(1), 3, 30));
    m_rowMarker->setObjectName("Label鼠标滚随");
    setControlColours(m_rowMarker, m_colours.rowMarker, std::nullopt);

    const int y = rowY(kSlotsPerModule) + 40;
    makeLabel(f, "拍演示", QRect(42, y + 4, 146, 24))->setAlignment(Qt::AlignCenter);
    for (int k = 1; k <= kMaxBeats; ++k) {
        QPushButton* b = colouredButton(f, "Command拍演示" + QString::number(k), QString::number(k),
                                        QRect(kGridLeft + (k - 1) * kGridPitch, y, 38, 32));
        connect(b, &QPushButton::clicked, this, [this, k] { m_editor.chooseBeat(k); });
        m_beats[k - 1] = b;
    }
}

void EffectEditorView::buildDrum() {
    m_drumFrame = new QGroupBox("模拟鼓点", this);
    m_drumFrame->setObjectName("Frame模拟鼓点");
    m_drumFrame->setGeometry(710, 606, 420, 70);
    QPushButton* manual = makeButton(m_drumFrame, "Command手动", "手动", QRect(10, 26, 110, 34));
    // A beat on pressing, as a drum is struck.
    connect(manual, &QPushButton::pressed, this, [this] { m_editor.sendDrumBeat(); });
    m_auto = colouredButton(m_drumFrame, "Command自动", {}, QRect(130, 26, 130, 34));
    connect(m_auto, &QPushButton::clicked, this, [this] { m_editor.pressAutomatic(); });
    QPushButton* next = makeButton(m_drumFrame, "Command下一拍", "下一拍", QRect(270, 26, 110, 34));
    connect(next, &QPushButton::clicked, this, [this] { m_editor.nextBeat(); });
    QPushButton* back = colouredButton(this, "Command返回", "返回", QRect(1140, 614, 130, 56));
    connect(back, &QPushButton::clicked, this, [this] { m_services.returnToScenes(); });
}

void EffectEditorView::colourFirstTime() {
    const Appearance& a = m_services.appearance;
    applyViewColours(this, a);
    for (int s = 1; s <= kSlotsPerModule; ++s) {
        setButtonTextColour(materialButton(s), m_colours.buttonText);
        setButtonTextColour(m_associationMarks[s - 1], 0x00FFFF);
        setControlColours(m_rowBacks[s - 1], rowGroupColour(s, m_colours), std::nullopt);
    }
    for (QPushButton* b : m_modules)
        setButtonTextColour(b, m_colours.buttonText);
    setControlColours(m_drumFrame, std::nullopt, m_colours.drumNormal);
    setControlColours(m_correspondence, std::nullopt, m_colours.correspondenceNormal);
    if (!a.customised) {
        setButtonTextColour(findChild<QPushButton*>("Command返回"), 0x00FFFF);
        setButtonBackColour(findChild<QPushButton*>("Command返回"), 0x808080);
        for (QPushButton* b : m_beats)
            setButtonTextColour(b, 0x0000FF);
    }
}

void EffectEditorView::Fun_窗体载入() {
    // The view's colours go first: the redraw of the entry colours the buttons over them.
    if (!m_editor.entered()) colourFirstTime();
    m_editor.enter();
    m_services.showView(this);
    m_services.titleEffectMode();
}

void EffectEditorView::Fun_所有控件数据刷新() {
    redraw(EffectAspects::all());
}

void EffectEditorView::showRestored() {
    redraw(EffectAspects::all());
}

void EffectEditorView::Fun_素材备注_控件显示() {
    redraw(EffectAspect::Materials);
}

void EffectEditorView::redraw(EffectAspects changed) {
    using A = EffectAspect;
    if (changed.touches(A::Settings)) drawEffectSettings();
    if (changed.touches(A::Shape)) drawShape();
    if (changed.touches({A::Shape, A::Position, A::Settings})) drawBarButtons();
    if (changed.touches({A::Shape, A::Position, A::Module})) drawBeatColumns();
    if (changed.touches({A::Module, A::Materials, A::Position})) drawModules();
    if (changed.touches({A::Selections, A::Position})) drawBeatSelections();
    if (changed.touches({A::Selections, A::Module, A::Position})) drawAllBeatsFlags();
    if (changed.touches({A::Materials, A::Position})) drawMaterials();
    if (changed.touches({A::Bar, A::Shape, A::Position})) drawBarSettings();
    if (changed.touches({A::Module, A::Position})) drawAssociation();
    if (changed.touches({A::Shape, A::Selections, A::Position})) drawBeatDemo();
    if (changed.touches(A::Drum)) drawDrum();
}

void EffectEditorView::drawBarButtons() {
    const EffectEditorPosition& pos = m_editor.position();
    for (int p : {kNoBassPart, kBassPart}) {
        const int page = m_editor.shownPage(p);
        m_pages[p]->setVisible(pageButtonVisible(fx(), p));
        m_pages[p]->setText(barPageCaption(page));
        for (int i = 1; i <= kBarsPerPage; ++i) {
            QPushButton* b = barButton(p, i);
            const int bar = barOfButton(page, i);
            b->setText(QString::number(bar));
            b->setVisible(barButtonVisible(fx(), p, page, i));
            setButtonBackColour(
                b, p == pos.part && bar == pos.bar ? m_colours.barCurrent : m_colours.barOther);
        }
    }
    for (QWidget* w : m_bassOnly)
        w->setVisible(bassPartShown(fx()));
    m_barFrame->setTitle(barFrameTitle(pos.part, pos.bar));
}

void EffectEditorView::drawBeatColumns() {
    for (int k = 1; k <= kMaxBeats; ++k) {
        const bool shown = beatColumnVisible(fx(), part(), k);
        m_beatTitles[k - 1]->setVisible(shown);
        beatButton(k)->setVisible(shown);
        for (int s = 1; s <= kSlotsPerModule; ++s)
            gridButton(s, k)->setVisible(shown &&
                                         gridRowVisible(fx(), m_editor.position().module, s));
    }
}

void EffectEditorView::drawBeatSelections() {
    const EffectEditorPosition& pos = m_editor.position();
    for (int s = 1; s <= kSlotsPerModule; ++s) {
        for (int k = 1; k <= kMaxBeats; ++k) {
            const bool on = beatSelected(fx(), pos.part, pos.bar, k, pos.module, s);
            setButtonBackColour(gridButton(s, k),
                                on ? m_colours.beatSelected : m_colours.beatUnselected);
        }
    }
}

void EffectEditorView::drawAllBeatsFlags() {
    const int module = m_editor.position().module;
    const std::array<AllBeatsFlag, 3> kinds{AllBeatsFlag::NoBassBeats, AllBeatsFlag::BassBeats,
                                            AllBeatsFlag::BothParts};
    for (int j = 0; j < 3; ++j) {
        for (int s = 1; s <= kSlotsPerModule; ++s) {
            QPushButton* b = m_flags[j][s - 1];
            b->setVisible(gridRowVisible(fx(), module, s));
            setButtonBackColour(b, allBeatsFlag(fx(), kinds[j], module, s)
                                       ? m_colours.beatSelected
                                       : m_colours.beatUnselected);
        }
    }
}

void EffectEditorView::drawBeatDemo() {
    m_editor.correctBeat();
    const int current = m_editor.position().beat;
    for (int k = 1; k <= kMaxBeats; ++k)
        setButtonBackColour(beatButton(k),
                            k == current ? m_colours.demoCurrent : m_colours.demoOther);
}

void EffectEditorView::drawMaterials() {
    const EffectEditorPosition& pos = m_editor.position();
    for (int s = 1; s <= kSlotsPerModule; ++s) {
        materialButton(s)->setText(m_editor.bank().at(pos.module, s).remark());
        setButtonBackColour(materialButton(s), materialExists(m_editor.bank(), pos.module, s)
                                                   ? m_colours.materialExists
                                                   : m_colours.materialMissing);
    }
    m_slotMarker->move(m_slotMarker->x(), rowY(pos.slot));
}

void EffectEditorView::drawDrum() {
    m_auto->setText(m_editor.drum().automatic.caption());
    setButtonBackColour(m_auto, autoDrumColour(m_editor.drum().automatic.mode, m_colours));
}

void EffectEditorView::Fun_模拟鼓点颜色显示() {
    const bool flashing = m_editor.indicatorTick();
    // Ten refreshes a second would repaint the frame for nothing: only a change is drawn.
    if (flashing == m_drumFlashing) return;
    m_drumFlashing = flashing;
    setControlColours(m_drumFrame, std::nullopt,
                      flashing ? m_colours.drumFlash : m_colours.drumNormal);
}

void EffectEditorView::Fun_拍子对应_有错显示() {
    const bool blinking = m_editor.warningTick();
    if (blinking == m_warningLit) return;
    m_warningLit = blinking;
    setControlColours(m_correspondence, std::nullopt,
                      blinking ? m_colours.correspondenceBlink : m_colours.correspondenceNormal);
}

bool EffectEditorView::drumIndicatorBusy() const {
    return m_drumFlashing || m_editor.drum().indicatorRefreshes > 0;
}

bool EffectEditorView::correspondenceWarningBusy() const {
    return m_warningLit || fx().correspondenceInvalid == 1 || correspondenceInvalid(fx());
}

void EffectEditorView::moveRowMarker(int slot) {
    m_rowMarker->move(m_rowMarker->x(), rowY(slot));
}

void EffectEditorView::openSlot(int slot) {
    m_editor.chooseSlot(slot);
    m_services.openMaterialEditor();
}

void EffectEditorView::report(const Outcome& outcome) {
    if (!outcome.message.isEmpty()) m_services.dialogs.prompter.message(outcome.message);
}

bool EffectEditorView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        if (const QVariant row = watched->property(kRowProperty); row.isValid())
            moveRowMarker(row.toInt());
    }
    return false;
}

}  // namespace kx
