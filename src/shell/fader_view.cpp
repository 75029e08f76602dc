#include "shell/fader_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace kx {

FaderView::FaderView(int index, QWidget* parent) : QWidget(parent), m_index(index) {
    setObjectName("Picture推杆" + QString::number(index));
    m_model.setTrackHeight(height() * kTwipsPerPixel);
    m_model.setValue(0);
}

void FaderView::setFaderMax(int max) {
    m_model.setMax(max);
    m_value = std::clamp(m_value, 0, std::max(max, 0));
    m_model.setValue(m_value);
    update();
}

bool FaderView::setFaderValue(int value) {
    syncHeight();
    if (!m_model.setValue(value)) return false;
    m_value = value;
    update();
    return true;
}

int FaderView::knobTop() {
    syncHeight();
    return static_cast<int>(std::lround(m_model.position() / kTwipsPerPixel));
}

void FaderView::setTrackPicture(const QPixmap& picture) {
    m_track = picture;
    update();
}

void FaderView::setKnobPicture(const QPixmap& picture) {
    m_knob = picture;
    update();
}

QSize FaderView::sizeHint() const {
    return {kKnobWidthTwips / kTwipsPerPixel, 200};
}

void FaderView::paintEvent(QPaintEvent*) {
    syncHeight();
    QPainter p(this);
    if (m_track.isNull()) {
        p.fillRect(rect(), palette().color(QPalette::Dark));
    } else {
        p.drawPixmap(rect(), m_track);
    }
    const QRectF knob(0, m_model.position() / kTwipsPerPixel,
                      static_cast<double>(kKnobWidthTwips) / kTwipsPerPixel,
                      static_cast<double>(kKnobHeightTwips) / kTwipsPerPixel);
    if (m_knob.isNull()) {
        p.fillRect(knob, palette().color(QPalette::Button));
    } else {
        p.drawPixmap(knob, m_knob, QRectF(m_knob.rect()));
    }
}

void FaderView::resizeEvent(QResizeEvent*) {
    syncHeight();
}

void FaderView::syncHeight() {
    const int twips = height() * kTwipsPerPixel;
    if (twips == m_model.trackHeight()) return;
    m_model.setTrackHeight(twips);
    m_model.setValue(m_value);
}

void FaderView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    syncHeight();
    report(m_model.press(event->position().y() * kTwipsPerPixel));
}

void FaderView::mouseMoveEvent(QMouseEvent* event) {
    report(m_model.move(event->position().y() * kTwipsPerPixel));
}

void FaderView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_model.dragging()) return;
    m_model.release();
    emit dragFinished(m_index);
}

void FaderView::report(std::optional<int> value) {
    if (!value) return;
    m_value = *value;
    update();
    emit faderChanged(m_index, *value);
}

}  // namespace kx
