#include "monitor/fixture_stage_view.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "monitor/dmx_monitor_state.h"

namespace kx {

namespace {

const QColor kDark(0x16, 0x19, 0x20);
const QColor kHousing(0x46, 0x4e, 0x60);
const QColor kCaption(0xd8, 0xdc, 0xe4);
const QColor kBackground(0x12, 0x16, 0x1e);

QColor colourOf(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

void badge(QPainter& p, QRect r, const QString& text, Rgb colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colourOf(colour));
    p.drawRoundedRect(r, 3, 3);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, text);
}

QStaticText laidOut(const QString& text, const QFont& font, int width) {
    QStaticText t(QFontMetrics(font).elidedText(text, Qt::ElideRight, width));
    t.setTextFormat(Qt::PlainText);
    t.prepare({}, font);
    return t;
}

}  // namespace

FixtureStageView::FixtureStageView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_captionFont.setPixelSize(11);
    m_smallFont.setPixelSize(10);
    resizeToLamps();
}

void FixtureStageView::setLamps(std::vector<Lamp> lamps) {
    m_lamps = std::move(lamps);
    m_looks.assign(m_lamps.size(), LampLook{});
    m_texts.clear();
    for (const Lamp& lamp : m_lamps) {
        LampTexts t;
        t.caption = laidOut(lamp.caption, m_captionFont, kTextWidth);
        t.detail = detailOf(lamp, LampLook{});
        t.detailText = laidOut(t.detail, m_smallFont, kTextWidth);
        m_texts.push_back(std::move(t));
    }
    m_dragged = -1;
    m_dragging = false;
    resizeToLamps();
    update();
}

void FixtureStageView::resizeToLamps() {
    int rows = 0;
    for (const Lamp& l : m_lamps)
        rows = std::max(rows, l.placed.place.row + 1);
    // One empty row below the lamps to drag into.
    setFixedSize(kLampColumns * kLampWidth, (rows + 1) * kLampHeight);
}

void FixtureStageView::setLooks(const std::vector<LampLook>& looks) {
    m_flashOn = !m_flashOn;
    const std::size_t n = std::min(looks.size(), m_looks.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (!lampNeedsRedraw(m_looks[i], looks[i])) continue;
        m_looks[i] = looks[i];
        QString detail = detailOf(m_lamps[i], looks[i]);
        if (detail != m_texts[i].detail) {
            m_texts[i].detailText = laidOut(detail, m_smallFont, kTextWidth);
            m_texts[i].detail = std::move(detail);
        }
        update(placeRect(m_lamps[i].placed.place));
    }
}

int FixtureStageView::lampIndex(int page, int number) const {
    for (std::size_t i = 0; i < m_lamps.size(); ++i) {
        if (m_lamps[i].placed.page == page && m_lamps[i].placed.number == number)
            return static_cast<int>(i);
    }
    return -1;
}

const LampLook* FixtureStageView::lookOf(int page, int number) const {
    const int i = lampIndex(page, number);
    return i < 0 ? nullptr : &m_looks[static_cast<std::size_t>(i)];
}

QRect FixtureStageView::placeRect(LampPlace place) const {
    return {place.column * kLampWidth, place.row * kLampHeight, kLampWidth, kLampHeight};
}

QRect FixtureStageView::lampRect(int page, int number) const {
    const int i = lampIndex(page, number);
    return i < 0 ? QRect() : placeRect(m_lamps[static_cast<std::size_t>(i)].placed.place);
}

QPoint FixtureStageView::lampCentre(int page, int number) const {
    const QRect r = lampRect(page, number);
    return {r.center().x(), r.top() + 6 + kLampRadius};
}

LampPlace FixtureStageView::placeAt(QPoint point) const {
    return {std::clamp(point.x() / kLampWidth, 0, kLampColumns - 1),
            std::clamp(point.y() / kLampHeight, 0, kLampRows - 1)};
}

int FixtureStageView::lampIndexAt(QPoint point) const {
    for (std::size_t i = 0; i < m_lamps.size(); ++i) {
        if (placeRect(m_lamps[i].placed.place).contains(point)) return static_cast<int>(i);
    }
    return -1;
}

void FixtureStageView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), kBackground);
    p.setRenderHint(QPainter::Antialiasing);
    for (std::size_t i = 0; i < m_lamps.size(); ++i) {
        const QRect r = placeRect(m_lamps[i].placed.place);
        if (!event->region().intersects(r)) continue;
        if (m_dragging && static_cast<int>(i) == m_dragged) continue;
        paintLamp(p, i, r);
    }
    if (m_dragging && m_dragged >= 0) {
        const auto i = static_cast<std::size_t>(m_dragged);
        p.setPen(QPen(QColor(0xa0, 0xc8, 0xff), 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(placeRect(placeAt(m_dragAt)).adjusted(1, 1, -2, -2));
        p.setOpacity(0.7);
        QRect r(0, 0, kLampWidth, kLampHeight);
        r.moveCenter(m_dragAt);
        paintLamp(p, i, r);
    }
}

QString FixtureStageView::detailOf(const Lamp& lamp, const LampLook& look) {
    QString detail = lamp.address;
    if (!look.wheel.isEmpty()) detail += " " + look.wheel;
    if (look.strobe > 0) detail += QStringLiteral(" 频闪");
    return detail;
}

void FixtureStageView::paintLamp(QPainter& p, std::size_t i, QRect r) const {
    const LampLook& look = m_looks[i];
    const LampTexts& texts = m_texts[i];
    const QPoint c(r.center().x(), r.top() + 6 + kLampRadius);
    const bool shining = look.lit && (look.strobe == 0 || m_flashOn);
    if (shining) {
        QColor halo = colourOf(look.colour);
        halo.setAlpha(70);
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        // The faint halo needs no smooth edge, and costs much less without one.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawEllipse(c, kLampRadius + 7, kLampRadius + 7);
        p.setRenderHint(QPainter::Antialiasing, true);
    }
    p.setPen(QPen(kHousing, 3));
    p.setBrush(shining ? colourOf(look.colour) : kDark);
    p.drawEllipse(c, kLampRadius, kLampRadius);
    if (look.hasBeam) {
        // A dark edge keeps the beam visible over any light.
        const double reach = kLampRadius + 12;
        const QPointF end(c.x() + (look.pan - 0.5) * 2 * reach,
                          c.y() + (look.tilt - 0.5) * 2 * reach);
        const QColor beam = shining ? QColor(0xa0, 0xf0, 0xff) : QColor(0x90, 0x98, 0xa8);
        p.setPen(QPen(QColor(0x0c, 0x0f, 0x14), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(c), end);
        p.setPen(QPen(beam, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(c), end);
        p.setPen(QPen(QColor(0x0c, 0x0f, 0x14), 1.5));
        p.setBrush(beam);
        p.drawEllipse(end, 4, 4);
    }
    p.setFont(m_smallFont);
    if (look.overlaps) badge(p, QRect(r.left() + 1, r.top() + 1, 26, 13), "重叠", kOverlapMark);
    if (look.overruns) badge(p, QRect(r.right() - 26, r.top() + 1, 26, 13), "越界", kOverrunMark);

    const auto centred = [&r](const QStaticText& t) {
        return r.center().x() - qRound(t.size().width() / 2);
    };
    p.setFont(m_captionFont);
    p.setPen(kCaption);
    p.drawStaticText(centred(texts.caption), r.top() + 53, texts.caption);
    p.setFont(m_smallFont);
    p.setPen(QColor(0x98, 0xa0, 0xb0));
    p.drawStaticText(centred(texts.detailText), r.top() + 68, texts.detailText);
}

void FixtureStageView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_dragged = lampIndexAt(event->position().toPoint());
    m_dragStart = event->position().toPoint();
    m_dragging = false;
}

void FixtureStageView::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragged < 0 || !(event->buttons() & Qt::LeftButton)) return;
    const QPoint at = event->position().toPoint();
    if (!m_dragging && (at - m_dragStart).manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragging = true;
    m_dragAt = at;
    update();
}

void FixtureStageView::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragged < 0 || event->button() != Qt::LeftButton) return;
    const PlacedLamp placed = m_lamps[static_cast<std::size_t>(m_dragged)].placed;
    const bool dropped = m_dragging;
    m_dragged = -1;
    m_dragging = false;
    update();
    if (dropped) {
        emit lampDropped(placed.page, placed.number, placeAt(event->position().toPoint()));
    } else {
        emit lampClicked(placed.page, placed.number);
    }
}

}  // namespace kx
