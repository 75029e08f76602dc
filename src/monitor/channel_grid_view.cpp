#include "monitor/channel_grid_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "monitor/dmx_monitor_state.h"

namespace kx {

namespace {

QColor colourOf(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

}  // namespace

ChannelGridView::ChannelGridView(QWidget* parent) : QWidget(parent) {
    setFixedSize(kMonitorColumns * kCellWidth, kMonitorRows * kCellHeight);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_addressFont.setPixelSize(9);
    m_valueFont.setPixelSize(13);
    m_valueFont.setBold(true);
}

void ChannelGridView::layOutTexts() {
    if (m_textsLaidOut) return;
    m_textsLaidOut = true;
    for (int v = 0; v < 256; ++v) {
        QStaticText& t = m_valueTexts[static_cast<std::size_t>(v)];
        t.setText(QString::number(v));
        t.setTextFormat(Qt::PlainText);
        t.prepare({}, m_valueFont);
    }
    for (int a = 1; a <= kChannelsPerPort; ++a) {
        QStaticText& t = m_addressTexts[static_cast<std::size_t>(a - 1)];
        t.setText(QString::number(a));
        t.setTextFormat(Qt::PlainText);
        t.prepare({}, m_addressFont);
    }
}

void ChannelGridView::setPort(int port) {
    m_port = std::clamp(port, 0, kMonitorPorts - 1);
    m_hovered = 0;
    update();
}

void ChannelGridView::setFrame(const DmxFrame& frame) {
    changedChannels(m_values, frame, m_port, m_changed);
    // Other ports are taken as they are, for when their page is chosen.
    m_values = frame;
    for (int index : m_changed)
        updateCell(index);
}

void ChannelGridView::setChannelMap(const ChannelMap* map) {
    m_map = map;
    update();
}

void ChannelGridView::setSelected(int index) {
    const int before = m_selected;
    m_selected = index;
    updateCell(before);
    updateCell(index);
}

QRect ChannelGridView::cellRect(int index) const {
    const int first = firstChannelOfPort(m_port);
    const int i = index - first;
    if (i < 0 || i >= kChannelsPerPort) return {};
    return {i % kMonitorColumns * kCellWidth, i / kMonitorColumns * kCellHeight, kCellWidth,
            kCellHeight};
}

int ChannelGridView::channelAt(QPoint point) const {
    if (!rect().contains(point)) return 0;
    const int column = point.x() / kCellWidth;
    const int row = point.y() / kCellHeight;
    if (column >= kMonitorColumns || row >= kMonitorRows) return 0;
    return firstChannelOfPort(m_port) + row * kMonitorColumns + column;
}

void ChannelGridView::updateCell(int index) {
    const QRect r = cellRect(index);
    if (!r.isEmpty()) update(r);
}

void ChannelGridView::paintEvent(QPaintEvent* event) {
    layOutTexts();
    QPainter p(this);
    const int first = firstChannelOfPort(m_port);
    for (int index = first; index < first + kChannelsPerPort; ++index) {
        if (event->region().intersects(cellRect(index))) paintCell(p, index);
    }
}

void ChannelGridView::paintCell(QPainter& p, int index) const {
    const QRect cell = cellRect(index);
    const int v = value(index);
    const CellShade shade = cellShade(v);
    p.fillRect(cell, QColor(0x0c, 0x0f, 0x14));
    const QRect face = cell.adjusted(1, 1, -1, -1);
    p.fillRect(face, colourOf(shade.back));
    if (m_map && m_map->patched(index))
        p.fillRect(QRect(face.left(), face.top(), 3, face.height()), colourOf(kPatchedMark));
    if (m_map && m_map->overruns(index)) {
        const QPoint corner = face.topRight();
        const QPoint tri[3] = {corner, corner - QPoint(9, 0), corner + QPoint(0, 9)};
        p.setPen(Qt::NoPen);
        p.setBrush(colourOf(kOverrunMark));
        p.drawPolygon(tri, 3);
    }
    if (m_map && m_map->overlaps(index)) {
        p.setPen(QPen(colourOf(kOverlapMark), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(face.adjusted(1, 1, -1, -1));
    }
    if (index == m_selected || index == m_hovered) {
        p.setPen(QPen(index == m_selected ? Qt::white : QColor(0xa0, 0xc8, 0xff), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(face.adjusted(0, 0, -1, -1));
    }
    QColor text = colourOf(shade.text);
    p.setFont(m_addressFont);
    QColor faint = text;
    faint.setAlpha(170);
    p.setPen(faint);
    p.drawStaticText(face.left() + 5, face.top() - 1,
                     m_addressTexts[static_cast<std::size_t>(addressOfChannel(index) - 1)]);
    p.setFont(m_valueFont);
    p.setPen(text);
    const QStaticText& value = m_valueTexts[static_cast<std::size_t>(v)];
    p.drawStaticText(face.right() - 2 - qRound(value.size().width()),
                     face.bottom() + 1 - qRound(value.size().height()), value);
}

void ChannelGridView::mouseMoveEvent(QMouseEvent* event) {
    const int index = channelAt(event->position().toPoint());
    if (index == m_hovered) return;
    const int before = m_hovered;
    m_hovered = index;
    updateCell(before);
    updateCell(index);
    if (index != 0) emit channelHovered(index);
}

void ChannelGridView::mousePressEvent(QMouseEvent* event) {
    const int index = channelAt(event->position().toPoint());
    if (index == 0) return;
    setSelected(index);
    emit channelClicked(index);
}

void ChannelGridView::leaveEvent(QEvent*) {
    const int before = m_hovered;
    m_hovered = 0;
    updateCell(before);
}

}  // namespace kx
