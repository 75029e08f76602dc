#include "materials/material_demo_panel_view.h"

#include <QFontDatabase>

#include "materials/material_view_support.h"
#include "shell/appearance_view.h"
#include "shell/widgets.h"

namespace kx {

MaterialDemoPanel::MaterialDemoPanel(MaterialEditor& editor, Actions actions, QWidget* parent)
    : QGroupBox("素材演示", parent), m_editor(editor) {
    setObjectName("Frame素材演示");
    makeOpaque(this);
    m_caption = new QLabel(this);
    m_caption->setObjectName("Label演示信息");
    m_caption->setGeometry(8, 20, 220, 24);
    QPushButton* jump = makeButton(this, "Command跳步", "跳步", QRect(236, 20, 70, 24));
    connect(jump, &QPushButton::clicked, this, actions.jump);
    for (int p = 0; p < 4; ++p) {
        m_ports[p] =
            makeButton(this, "CommandDmx" + QString::number(p + 1),
                       QStringLiteral("Dmx-") + QChar('A' + p), QRect(320 + p * 66, 20, 62, 24));
        connect(m_ports[p], &QPushButton::clicked, this, [this, p] {
            m_editor.choosePort(p);
            refresh();
        });
    }
    QPushButton* back = makeButton(this, "Command演示返回", "返回", QRect(600, 20, 70, 24));
    connect(back, &QPushButton::clicked, this, actions.back);
    for (QPushButton* b : findChildren<QPushButton*>())
        makeGraphical(b);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName("Text演示数据");
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPixelSize(10);
    m_text->setFont(mono);
    m_text->setGeometry(8, 48, 796, 204);
}

void MaterialDemoPanel::refresh() {
    for (int p = 0; p < 4; ++p)
        setButtonBackColour(m_ports[p], p == m_editor.displayedPort() ? m_editor.colours().current
                                                                      : m_editor.colours().normal);
}

void MaterialDemoPanel::showTick(const PortText& text) {
    m_caption->setText(text.caption);
    QString plain = text.text;
    plain.remove('\r');
    m_text->setPlainText(plain);
}

}  // namespace kx
