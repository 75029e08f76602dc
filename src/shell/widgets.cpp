#include "shell/widgets.h"

namespace kx {

QPushButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption,
                        QRect geometry) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(objectName);
    if (geometry.isValid()) b->setGeometry(geometry);
    return b;
}

}  // namespace kx
