#include "materials/chase_generator_window.h"

#include "shell/appearance_view.h"
#include "shell/widgets.h"

namespace kx {

namespace {

// A panel over the Material editor's faders, as wide as them: the fields and buttons on the left,
// the listing on the right, so that the steps row, the settings and the Temporary Channels stay
// in view.
constexpr int kWidth = 820;
constexpr int kHeight = 286;
constexpr int kTop = 24;  // below the frame's title
constexpr int kRowHeight = 28;
constexpr int kRowPitch = 38;
constexpr int kLabelWidth = 90;
constexpr int kFieldLeft = 110;
constexpr int kFieldWidth = 150;
constexpr int kButtonLeft = 272;
constexpr int kListLeft = 384;

QComboBox* labelledCombo(QWidget* parent, const QString& name, const QString& labelName,
                         const QString& caption, int row, bool editable) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(labelName);
    label->setGeometry(12, kTop + row * kRowPitch, kLabelWidth, kRowHeight);
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(editable);
    combo->setMaxVisibleItems(12);
    combo->setGeometry(kFieldLeft, kTop + row * kRowPitch, kFieldWidth, kRowHeight);
    return combo;
}

void fillKeepingText(QComboBox* combo, const QStringList& entries, const QString& text) {
    combo->clear();
    combo->addItems(entries);
    combo->setCurrentText(text);
}

}  // namespace

ChaseGeneratorWindow::ChaseGeneratorWindow(const Appearance& appearance, QWidget* parent)
    : QGroupBox("跑马", parent) {
    setObjectName("ChaseGeneratorWindow");
    setWindowTitle("跑马");
    resize(kWidth, kHeight);
    makeOpaque(this);
    Combo跑马类型 = labelledCombo(this, "Combo跑马类型", "Label跑马类型", "跑马类型", 0, false);
    Combo跑马类型->addItems(chaseTypeEntries());
    Combo跑马灯具数量 =
        labelledCombo(this, "Combo跑马灯具数量", "Label亮灯数量", "亮灯数量", 1, true);
    Combo起始位置 = labelledCombo(this, "Combo起始位置", "Label起始位置", "起始位置", 2, true);
    Combo亮灯数据 = labelledCombo(this, "Combo亮灯数据", "Label亮灯数据", "亮灯数据", 3, true);
    fillKeepingText(Combo亮灯数据, chaseValueEntries(), QString::number(kChaseDefaultOn));
    Combo灭灯数据 = labelledCombo(this, "Combo灭灯数据", "Label灭灯数据", "灭灯数据", 4, true);
    fillKeepingText(Combo灭灯数据, chaseValueEntries(), QString::number(kChaseDefaultOff));

    Check开启反向 = new QCheckBox("开启反向", this);
    Check开启反向->setObjectName("Check开启反向");
    Check开启反向->setGeometry(kFieldLeft, kTop + 5 * kRowPitch, kFieldWidth, kRowHeight);

    Command生成数据 = makeButton(this, "Command生成数据", "生成数据",
                                 QRect(kButtonLeft, kTop, 96, 2 * kRowPitch - 10));
    Command隐藏 = makeButton(this, "Command隐藏", "隐藏",
                             QRect(kButtonLeft, kTop + 2 * kRowPitch, 96, kRowHeight));

    Text信息 = new QPlainTextEdit(this);
    Text信息->setObjectName("Text信息");
    Text信息->setReadOnly(true);
    Text信息->setGeometry(kListLeft, kTop, kWidth - 12 - kListLeft, kHeight - 12 - kTop);

    connect(Command生成数据, &QPushButton::clicked, this, &ChaseGeneratorWindow::generate);
    connect(Command隐藏, &QPushButton::clicked, this, [this] { Fun_窗体关闭(); });
    applyViewColours(this, appearance);
    prepareChaseWindow();
}

void ChaseGeneratorWindow::toggle() {
    if (isVisible()) {
        Fun_窗体关闭();
        return;
    }
    prepareChaseWindow();
    show();
    raise();
}

void ChaseGeneratorWindow::prepareChaseWindow() {
    const QStringList positions = chasePositionEntries(m_material ? m_material->fixtureCount() : 0);
    fillKeepingText(Combo跑马灯具数量, positions, "1");
    fillKeepingText(Combo起始位置, positions, "1");
    Combo跑马类型->setCurrentText(kChaseTypeNone);
}

ChaseFields ChaseGeneratorWindow::fields() const {
    ChaseFields f;
    f.type = Combo跑马类型->currentText();
    f.litCount = Combo跑马灯具数量->currentText();
    f.startPosition = Combo起始位置->currentText();
    f.onValue = Combo亮灯数据->currentText();
    f.offValue = Combo灭灯数据->currentText();
    f.reverse = Check开启反向->isChecked();
    return f;
}

void ChaseGeneratorWindow::generate() {
    if (!m_generate) return;
    const ChaseResult result = m_generate(fields());
    QString shown = result.information;
    Text信息->setPlainText(shown.remove('\r'));
    if (result.generated) emit generated();
}

}  // namespace kx
