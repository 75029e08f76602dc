#include "materials/material_code_grid.h"

#include "materials/material_view_support.h"
#include "shell/appearance_view.h"
#include "shell/widgets.h"

namespace kx {

namespace {

constexpr int kColumns = 12;
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 17;
constexpr int kTop = 20;
constexpr int kSideX = 8 + kColumns * (kButtonWidth + 2) + 4;

}  // namespace

MaterialCodeGrid::MaterialCodeGrid(const QString& objectName, const QString& title,
                                   const QString& prefix, Actions actions, QWidget* parent)
    : QGroupBox(title, parent) {
    setObjectName(objectName);
    makeOpaque(this);
    QFont small = font();
    small.setPixelSize(11);
    for (int code = 0; code < kChannelFunctionCount; ++code) {
        QPushButton* b = makeButton(this, prefix + QString::number(code + 1), {});
        b->setFont(small);
        makeGraphical(b);
        connect(b, &QPushButton::clicked, this, [pressed = actions.pressed, code] {
            if (pressed) pressed(code);
        });
        m_buttons[code] = b;
    }
    m_page =
        makeButton(this, prefix + "翻页", codePageButtonCaption(0), QRect(kSideX, kTop, 60, 24));
    connect(m_page, &QPushButton::clicked, this, [flip = actions.flipPage] {
        if (flip) flip();
    });
    if (actions.hide) {
        QPushButton* hide =
            makeButton(this, prefix + "隐藏", "隐藏", QRect(kSideX, kTop + 30, 60, 24));
        connect(hide, &QPushButton::clicked, this, actions.hide);
    }
}

void MaterialCodeGrid::refresh(const MaterialEditor& editor, int page,
                               const std::function<MaterialColour(int code)>& colourOf) {
    for (QPushButton* b : m_buttons)
        b->hide();
    int i = 0;
    for (const int code : codesOnPage(page)) {
        QPushButton* b = m_buttons[code];
        b->setGeometry(8 + (i % kColumns) * (kButtonWidth + 2),
                       kTop + (i / kColumns) * (kButtonHeight + 1), kButtonWidth, kButtonHeight);
        const QString caption = editor.codeCaption(code);
        b->setText(caption);
        b->setToolTip(QString::number(code) + " " + caption);
        setButtonBackColour(b, colourOf(code));
        b->show();
        ++i;
    }
    m_page->setText(codePageButtonCaption(page));
}

}  // namespace kx
