#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QString>

namespace kx {

// A push button named by its system name (its objectName), with its caption, placed at geometry
// when one is given.
QPushButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption,
                        QRect geometry = {});
// A label with its text at geometry, named when objectName is given.
QLabel* makeLabel(QWidget* parent, const QString& text, QRect geometry,
                  const QString& objectName = {});
// A check box and a text box named by their system names, at geometry.
QCheckBox* makeCheckBox(QWidget* parent, const QString& objectName, const QString& text,
                        QRect geometry);
QLineEdit* makeTextBox(QWidget* parent, const QString& objectName, QRect geometry);
// A titled frame at geometry, named when objectName is given.
QGroupBox* makeFrame(QWidget* parent, const QString& title, QRect geometry,
                     const QString& objectName = {});

// A panel that opens over other controls hides them wholly behind its own plain background (not
// the view's picture, which would show the view through it).
void makeOpaque(QWidget* panel);

}  // namespace kx
