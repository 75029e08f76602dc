#include "shell/picture_store.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "shell/fader.h"

namespace kx {

namespace {

constexpr double kTwipsPerPixel = 15.0;

// The gradient runs top to bottom only, so a narrow strip tiles (or stretches) to the same
// pixels as a whole picture would, at a fortieth of the memory.
QPixmap drawnBackground() {
    QPixmap pm(32, 1334);
    QPainter p(&pm);
    QLinearGradient g(0, 0, 0, pm.height());
    g.setColorAt(0, QColor(0x23, 0x2b, 0x3a));
    g.setColorAt(1, QColor(0x12, 0x16, 0x20));
    p.fillRect(pm.rect(), g);
    return pm;
}

QPixmap drawnLamp(bool on) {
    QPixmap pm(22, 22);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = on ? QColor(0x3c, 0xe0, 0x4a) : QColor(0x4a, 0x50, 0x58);
    QRadialGradient g(8, 8, 12);
    g.setColorAt(0, c.lighter(150));
    g.setColorAt(1, c.darker(130));
    p.setBrush(g);
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1));
    p.drawEllipse(QRectF(1.5, 1.5, 19, 19));
    return pm;
}

QPixmap drawnTrack() {
    const int w = qRound(kKnobWidthTwips / kTwipsPerPixel);
    QPixmap pm(w, 200);
    QPainter p(&pm);
    p.fillRect(pm.rect(), QColor(0x1c, 0x1f, 0x26));
    p.fillRect(QRect(w / 2 - 2, 4, 4, pm.height() - 8), QColor(0x05, 0x06, 0x08));
    p.setPen(QColor(0x3a, 0x40, 0x4c));
    for (int y = 10; y < pm.height() - 5; y += 10)
        p.drawLine(2, y, 6, y);
    return pm;
}

QPixmap drawnKnob(QColor face) {
    const int w = qRound(kKnobWidthTwips / kTwipsPerPixel);
    const int h = qRound(kKnobHeightTwips / kTwipsPerPixel);
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, face.lighter(130));
    g.setColorAt(1, face.darker(140));
    p.setBrush(g);
    p.setPen(QPen(face.darker(220), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 2, 2);
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 2));
    p.drawLine(QPointF(3, h / 2.0), QPointF(w - 3, h / 2.0));
    return pm;
}

QPixmap drawnLogo() {
    QPixmap pm(150, 60);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f;
    f.setPixelSize(30);
    f.setBold(true);
    f.setItalic(true);
    p.setFont(f);
    p.setPen(QColor(0xe8, 0xb0, 0x30));
    p.drawText(pm.rect(), Qt::AlignCenter, "KX-7420");
    return pm;
}

// Keeps the built-in picture when the file gives none.
void loadInto(QPixmap& into, const QString& path) {
    QPixmap pm;
    if (pm.load(path)) into = pm;
}

}  // namespace

PictureStore PictureStore::load(const AppPaths& paths, const Appearance& a) {
    PictureStore s;
    s.viewBackground = drawnBackground();
    s.relayOn.fill(drawnLamp(true));
    s.relayOff.fill(drawnLamp(false));
    s.faderTrack = drawnTrack();
    s.faderKnob = drawnKnob(QColor(0xb8, 0xbc, 0xc4));
    s.faderKnobAdjust = drawnKnob(QColor(0xe0, 0x90, 0x30));
    s.logo = drawnLogo();
    s.splash = s.viewBackground;
    s.backgroundForViews = s.viewBackground;

    const QString dir = a.pictureScheme ? paths.picDir : a.customised ? paths.picAllDir : QString();
    if (dir.isEmpty()) return s;
    loadInto(s.logo, dir + "/P01");
    loadInto(s.titleBarBackground, dir + "/P02");
    for (int n = 1; n <= kRelayCount; ++n) {
        loadInto(s.relayOff[n - 1], dir + "/P2" + QString::number(n));
        loadInto(s.relayOn[n - 1], dir + "/P3" + QString::number(n));
    }
    loadInto(s.backgroundForViews, dir + "/P03");
    if (a.customised) {
        loadInto(s.splash, dir + "/P03");
        loadInto(s.faderTrack, dir + "/PT01");
        loadInto(s.faderKnob, dir + "/PT02");
        loadInto(s.faderKnobAdjust, dir + "/PT03");
    }
    return s;
}

}  // namespace kx
