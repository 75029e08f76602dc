#include "shell/widgets.h"

namespace kx {

QPushButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption,
                        QRect geometry) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(objectName);
    if (geometry.isValid()) b->setGeometry(geometry);
    return b;
}

QLabel* makeLabel(QWidget* parent, const QString& text, QRect geometry, const QString& objectName) {
    auto* l = new QLabel(text, parent);
    if (!objectName.isEmpty()) l->setObjectName(objectName);
    l->setGeometry(geometry);
    return l;
}

QCheckBox* makeCheckBox(QWidget* parent, const QString& objectName, const QString& text,
                        QRect geometry) {
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(objectName);
    c->setGeometry(geometry);
    return c;
}

QLineEdit* makeTextBox(QWidget* parent, const QString& objectName, QRect geometry) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(objectName);
    t->setGeometry(geometry);
    return t;
}

QGroupBox* makeFrame(QWidget* parent, const QString& title, QRect geometry,
                     const QString& objectName) {
    auto* box = new QGroupBox(title, parent);
    if (!objectName.isEmpty()) box->setObjectName(objectName);
    box->setGeometry(geometry);
    return box;
}

void makeOpaque(QWidget* panel) {
    QPalette pal = panel->palette();
    pal.setBrush(QPalette::Window, QColor(0x1e, 0x24, 0x30));
    panel->setPalette(pal);
    panel->setAutoFillBackground(true);
}

}  // namespace kx
