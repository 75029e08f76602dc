// The Material window's Virtual Fixture bar, its 32 channel columns (definition, number, fader,
// value box) and the value tools.
#include <QEvent>

#include "materials/material_editor_view.h"
#include "materials/material_view_support.h"
#include "shell/appearance_view.h"
#include "shell/widgets.h"

namespace kx {

namespace {

constexpr int kColumnWidth = 41;
constexpr int kDefinitionTop = 96;
constexpr int kFaderTop = 144;
constexpr int kFaderHeight = 180;
constexpr int kValueTop = kFaderTop + kFaderHeight + 4;

int columnX(int channel) {
    return 8 + (faderSlotOf(channel) - 1) * kColumnWidth;
}

}  // namespace

// One connection each, outside any other lambda: a lambda that captured this, made inside
// another that captured it too, is miscompiled under the sanitizers.
void MaterialEditorView::addSelectTool(const QString& name, const QString& caption, QRect r,
                                       void (MaterialEditor::*select)()) {
    QPushButton* b = makeButton(this, name, caption, r);
    connect(b, &QPushButton::clicked, this, [this, select] { (m_editor.*select)(); });
}

void MaterialEditorView::addValueTool(const QString& name, const QString& caption, QRect r,
                                      std::function<void()> action) {
    QPushButton* b = makeButton(this, name, caption, r);
    connect(b, &QPushButton::clicked, this, action);
}

void MaterialEditorView::buildFixtureBar() {
    for (int v = 1; v <= kMaxVirtualFixtures; ++v) {
        QPushButton* b =
            makeButton(this, "Command虚拟灯具" + QString::number(v), QString::number(v),
                       QRect(8 + (v - 1) % 20 * 40, 40 + (v - 1) / 20 * 27, 38, 24));
        b->installEventFilter(this);
        connect(b, &QPushButton::clicked, this, [this, v] { m_editor.leftClickFixture(v); });
        makeGraphical(b);
        m_fixtureButtons[v] = b;
    }
    addSelectTool("Command全选", "全选", QRect(812, 40, 56, 24), &MaterialEditor::selectAll);
    addSelectTool("Command单数", "单数", QRect(872, 40, 56, 24), &MaterialEditor::selectOdd);
    addSelectTool("Command双数", "双数", QRect(932, 40, 56, 24), &MaterialEditor::selectEven);
    m_linkAll = new QCheckBox("所有通道联动", this);
    m_linkAll->setObjectName("Check所有通道联动");
    m_linkAll->setGeometry(812, 67, 150, 24);
    connect(m_linkAll, &QCheckBox::clicked, this, [this](bool on) { m_editor.setLinkAll(on); });

    QPushButton* fixtures =
        makeButton(this, "Command灯具设置", "灯具设置", QRect(1000, 40, 86, 24));
    connect(fixtures, &QPushButton::clicked, this, [this] {
        tell(m_editor.openFixturePanel());
        m_fixturePanel->raise();
    });
    QPushButton* demo = makeButton(this, "Command演示", "演示", QRect(1092, 40, 86, 24));
    connect(demo, &QPushButton::clicked, this, [this] {
        m_editor.startDemo();
        if (m_hooks.setLiveView) m_hooks.setLiveView(8);
        m_demo->raise();
    });
}

void MaterialEditorView::buildFaders(const FaderPictures& pictures) {
    QFont small = font();
    small.setPixelSize(11);
    for (int k = 1; k <= kMaxMaterialChannels; ++k) {
        const int x = columnX(k);
        auto* def = new QLabel(this);
        def->setObjectName("Text通道定义" + QString::number(k));
        def->setGeometry(x, kDefinitionTop, kColumnWidth - 2, 28);
        def->setFont(small);
        def->setWordWrap(true);
        def->setAlignment(Qt::AlignCenter);
        def->setFrameShape(QFrame::Box);
        def->setAutoFillBackground(true);
        def->setCursor(Qt::PointingHandCursor);
        def->installEventFilter(this);
        m_definitions[k] = def;

        auto* id = new QLabel(QString::number(k), this);
        id->setObjectName("Label通道ID" + QString::number(k));
        id->setGeometry(x, kDefinitionTop + 30, kColumnWidth - 2, 16);
        id->setAlignment(Qt::AlignCenter);
        m_channelIds[k] = id;

        auto* fader = new FaderView(k, this);
        fader->setGeometry(x + 3, kFaderTop, kKnobWidthTwips / FaderView::kTwipsPerPixel,
                           kFaderHeight);
        fader->setFaderMax(255);
        if (!pictures.track.isNull()) fader->setTrackPicture(pictures.track);
        if (!pictures.knob.isNull()) fader->setKnobPicture(pictures.knob);
        fader->installEventFilter(this);
        connect(fader, &FaderView::faderChanged, this,
                [this](int channel, int value) { Fun_推杆_Change(channel, value); });
        m_faders[k] = fader;

        QLineEdit* value = new QLineEdit(this);
        value->setObjectName("Text数值" + QString::number(k));
        value->setGeometry(x, kValueTop, kColumnWidth - 2, 22);
        value->setAlignment(Qt::AlignCenter);
        value->installEventFilter(this);
        onTypedEntry(value, this, [this, k, value](const QString& text) {
            const bool taken = m_editor.typeValue(k, text);
            markField(value, taken ? FieldMark::Normal : FieldMark::Invalid, m_editor.colours());
        });
        m_values[k] = value;
    }
}

void MaterialEditorView::buildValueTools() {
    constexpr int y = 356;
    for (int p = 0; p < kChannelPages; ++p) {
        QPushButton* b = makeButton(this, "Command通道页" + QString::number(p + 1),
                                    p == 0 ? "1-20" : "21-32", QRect(8 + p * 60, y, 56, 24));
        connect(b, &QPushButton::clicked, this, [this, p] { m_editor.setChannelPage(p); });
        makeGraphical(b);
        m_pageButtons[p] = b;
    }
    addValueTool("Command复制数值", "复制", QRect(140, y, 52, 24),
                 [this] { m_editor.copyValues(); });
    addValueTool("Command粘贴数值", "粘贴", QRect(196, y, 52, 24),
                 [this] { m_editor.pasteValues(); });
    int x = 260;
    for (const int v : {0, 128, 255}) {
        addValueTool("Command数值" + QString::number(v), QString::number(v), QRect(x, y, 46, 24),
                     [this, v] { m_editor.setEveryValue(v); });
        x += 50;
    }
    // Beside the value tools, under the definition boxes it speaks of.
    m_definitionsNotice =
        makeLabel(this, kDefinitionsMissing, QRect(416, y, 268, 24), "Label通道定义提示");
    QPalette warn = m_definitionsNotice->palette();
    warn.setColor(QPalette::WindowText, QColor(0xff, 0xc0, 0x40));
    m_definitionsNotice->setPalette(warn);
    m_takeDefinitions =
        makeButton(this, "Command采用灯具定义", "采用灯具定义", QRect(690, y, 130, 24));
    connect(m_takeDefinitions, &QPushButton::clicked, this,
            [this] { m_editor.takeFixtureDefinitions(); });
}

void MaterialEditorView::showDefinitionsNotice() {
    m_definitionsNotice->setVisible(m_editor.definitionsMissing());
    const QString offer = m_editor.definitionOfferText();
    m_takeDefinitions->setVisible(!offer.isEmpty());
    m_takeDefinitions->setToolTip(offer);
}

void MaterialEditorView::drawFixtureBar() {
    for (int v = 1; v <= kMaxVirtualFixtures; ++v) {
        m_fixtureButtons[v]->setVisible(m_editor.fixtureButtonShown(v));
        setButtonBackColour(m_fixtureButtons[v], m_editor.fixtureColour(v));
    }
    m_linkAll->setChecked(m_editor.linkAll());
}

void MaterialEditorView::drawChannels() {
    for (int k = 1; k <= kMaxMaterialChannels; ++k) {
        const int value = m_editor.shownValue(k);
        m_values[k]->setText(QString::number(value));
        markField(m_values[k], FieldMark::Normal, m_editor.colours());
        m_faders[k]->setFaderValue(value);
        const QString definition = m_editor.channelDefinition(k);
        m_definitions[k]->setText(definition);
        m_definitions[k]->setToolTip(definition);
    }
    for (int k = 1; k <= kMaxMaterialChannels; ++k) {
        const bool shown = m_editor.channelShown(k);
        for (QWidget* w : std::initializer_list<QWidget*>{m_definitions[k], m_channelIds[k],
                                                          m_faders[k], m_values[k]})
            w->setVisible(shown);
    }
    for (int p = 0; p < kChannelPages; ++p) {
        const auto colour = m_editor.channelPageColour(p);
        setButtonBackColour(m_pageButtons[p], colour ? *colour : m_editor.colours().normal);
    }
}

void MaterialEditorView::Fun_推杆_Change(int channel, int value) {
    m_values[channel]->setText(QString::number(value));
    m_editor.enterValue(channel, value);
    Fun_鼠标滚轮焦点(channel);
}

void MaterialEditorView::Fun_鼠标滚轮焦点(int channel) {
    if (m_hooks.setWheelTarget) m_hooks.setWheelTarget(kWheelBase + channel);
}

void MaterialEditorView::Fun_鼠标滚轮触发(int direction, int channel) {
    m_editor.wheelStep(direction, channel);
}

}  // namespace kx
