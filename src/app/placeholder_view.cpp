#include "app/placeholder_view.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kx {

PlaceholderView::PlaceholderView(const QString& objectName, const QString& title, QWidget* parent)
    : QWidget(parent), m_title(title) {
    setObjectName(objectName);
    auto* label = new QLabel(title, this);
    label->setObjectName("Label标题");
    QFont f;
    f.setPixelSize(36);
    f.setBold(true);
    label->setFont(f);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(0xd8, 0xdc, 0xe4));
    label->setPalette(pal);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 40, 40, 40);
    layout->addWidget(label, 0, Qt::AlignHCenter | Qt::AlignTop);
    layout->addStretch();
}

}  // namespace kx
