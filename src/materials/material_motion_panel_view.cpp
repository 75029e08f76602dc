#include "materials/material_motion_panel_view.h"

#include "materials/material_view_support.h"
#include "materials/motion_generator.h"
#include "shell/appearance_view.h"
#include "shell/widgets.h"

namespace kx {

namespace {

constexpr int kCellWidth = 134;
constexpr int kRowHeight = 28;

QComboBox* parameterBox(QWidget* parent, const QString& name, const ParameterRange& range,
                        const QString& caption, QPoint at) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(at.x(), at.y(), 60, 24);
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->addItems(numberList(range.low, range.high));
    box->setGeometry(at.x() + 62, at.y(), 66, 24);
    return box;
}

}  // namespace

MaterialMotionPanel::MaterialMotionPanel(MaterialEditor& editor, QWidget* parent)
    : QGroupBox(parent), m_editor(editor) {
    setObjectName("FrameXY动作参数");
    makeOpaque(this);
    auto* all = new QLabel("所有灯具", this);
    all->setGeometry(8, 22, 80, 22);
    for (const MotionParameterLabel& p : kGlobalMotionLabels) {
        QComboBox* box = parameterBox(this, "Combo所有灯具参数" + QString::number(p.entry),
                                      globalParameterRange(p.entry), p.label, QPoint(90, 20));
        onTypedOrChosen(box, this, [this, box, entry = p.entry](const QString& text) {
            typed(box, &MaterialEditor::typeGlobalParameter, entry, text);
        });
        m_global[p.entry] = box;
    }
    auto* one = new QLabel("单个灯具", this);
    one->setGeometry(8, 22 + kRowHeight, 200, 22);
    int i = 0;
    for (const MotionParameterLabel& p : kFixtureMotionLabels) {
        const QPoint at(8 + (i % 3) * kCellWidth, 22 + (2 + i / 3) * kRowHeight);
        QComboBox* box = parameterBox(this, "Combo单个灯具参数" + QString::number(p.entry),
                                      fixtureParameterRange(p.entry), p.label, at);
        onTypedOrChosen(box, this, [this, box, entry = p.entry](const QString& text) {
            typed(box, &MaterialEditor::typeFixtureParameter, entry, text);
        });
        m_fixture[p.entry] = box;
        ++i;
    }
    const int buttonsY = 22 + 5 * kRowHeight + 4;
    QPushButton* generate =
        makeButton(this, "Command生成动作", "生成动作", QRect(8, buttonsY, 90, 26));
    connect(generate, &QPushButton::clicked, this, [this] { m_editor.generateMotion(); });
    QPushButton* hide = makeButton(this, "Command参数隐藏", "隐藏", QRect(104, buttonsY, 70, 26));
    connect(hide, &QPushButton::clicked, this, [this] { m_editor.hideMotionPanel(); });
    for (QPushButton* b : findChildren<QPushButton*>())
        makeGraphical(b);
}

// Outside any other lambda: a lambda that captured this, made inside another that captured it
// too, is miscompiled under the sanitizers.
void MaterialMotionPanel::typed(QComboBox* box,
                                FieldMark (MaterialEditor::*type)(int, const QString&), int entry,
                                const QString& text) {
    m_typed = box;
    const FieldMark mark = (m_editor.*type)(entry, text);
    m_typed = nullptr;
    markField(box, mark, m_editor.colours());
}

void MaterialMotionPanel::refresh() {
    setTitle(m_editor.motionPanelTitle());
    auto show = [this](QComboBox* box, int value) {
        if (box == m_typed) return;
        box->setEditText(QString::number(value));
        markField(box, FieldMark::Normal, m_editor.colours());
    };
    for (const MotionParameterLabel& p : kGlobalMotionLabels)
        show(m_global[p.entry], m_editor.globalParameter(p.entry));
    for (const MotionParameterLabel& p : kFixtureMotionLabels)
        show(m_fixture[p.entry], m_editor.fixtureParameter(p.entry));
}

}  // namespace kx
