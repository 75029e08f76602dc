#pragma once

#include <QPushButton>
#include <QRect>
#include <QString>

namespace kx {

// A push button named by its system name (its objectName), with its caption, placed at geometry
// when one is given.
QPushButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption,
                        QRect geometry = {});

}  // namespace kx
