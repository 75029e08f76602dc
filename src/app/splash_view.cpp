#include "app/splash_view.h"

#include <QPainter>

#include "app/caption.h"

namespace kx {

SplashView::SplashView(const PictureStore& pictures, bool customised, QWidget* parent)
    : QWidget(parent), m_picture(pictures.splash), m_customised(customised) {
    setObjectName("SplashView");
    m_button = new QPushButton("CB", this);
    m_button->setObjectName("Command指令CB");
    m_button->setFixedSize(36, 22);
    m_button->setFlat(true);
    QPalette pal = m_button->palette();
    pal.setColor(QPalette::ButtonText, QColor(0x90, 0x98, 0xa8));
    m_button->setPalette(pal);
    connect(m_button, &QPushButton::clicked, this, &SplashView::commandCbClicked);
}

void SplashView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(rect(), m_picture, m_picture.rect().intersected(rect()));
    if (m_customised) return;
    p.setRenderHint(QPainter::Antialiasing);
    QFont title;
    title.setPixelSize(72);
    title.setBold(true);
    title.setItalic(true);
    p.setFont(title);
    p.setPen(QColor(0xe8, 0xb0, 0x30));
    const QRect band(0, height() / 2 - 110, width(), 100);
    p.drawText(band, Qt::AlignHCenter | Qt::AlignBottom, kProductName);
    QFont version;
    version.setPixelSize(24);
    p.setFont(version);
    p.setPen(QColor(0xb0, 0xb8, 0xc8));
    p.drawText(QRect(0, band.bottom() + 12, width(), 40), Qt::AlignHCenter | Qt::AlignTop,
               kProgramVersion);
}

void SplashView::resizeEvent(QResizeEvent*) {
    m_button->move(width() - m_button->width() - 8, height() - m_button->height() - 8);
}

}  // namespace kx
