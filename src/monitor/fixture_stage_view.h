#pragma once

#include <QFont>
#include <QStaticText>
#include <QWidget>
#include <vector>

#include "monitor/lamp_layout.h"
#include "monitor/lamp_look.h"

namespace kx {

// The fixture view: every patched fixture as a lamp at its place in the grid, lit in the colour
// its channels mix, flashing while it strobes, with a beam for a moving head; overlapping and
// overrunning fixtures are marked. A lamp dragged to another place is reported, not moved: the
// window keeps the places.
class FixtureStageView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kLampWidth = 74;
    static constexpr int kLampHeight = 84;
    static constexpr int kLampRadius = 21;
    static constexpr int kTextWidth = kLampWidth - 4;

    struct Lamp {
        PlacedLamp placed;
        QString caption;  // number and name
        QString address;  // port and address of channel 1
    };

    explicit FixtureStageView(QWidget* parent = nullptr);

    // A new patch or arrangement: every lamp is drawn again.
    void setLamps(std::vector<Lamp> lamps);
    // A tick's looks, one per lamp in the same order: changed and flashing lamps are drawn again.
    void setLooks(const std::vector<LampLook>& looks);

    const std::vector<Lamp>& lamps() const { return m_lamps; }
    const LampLook* lookOf(int page, int number) const;
    QRect lampRect(int page, int number) const;
    // The centre of a lamp's light.
    QPoint lampCentre(int page, int number) const;
    QRect placeRect(LampPlace place) const;
    LampPlace placeAt(QPoint point) const;

  signals:
    void lampDropped(int page, int number, LampPlace target);
    void lampClicked(int page, int number);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // The two text lines under a lamp, laid out only when they change.
    struct LampTexts {
        QStaticText caption;
        QString detail;
        QStaticText detailText;
    };
    static QString detailOf(const Lamp& lamp, const LampLook& look);
    int lampIndex(int page, int number) const;
    int lampIndexAt(QPoint point) const;
    void paintLamp(QPainter& p, std::size_t i, QRect r) const;
    void resizeToLamps();

    std::vector<Lamp> m_lamps;
    std::vector<LampLook> m_looks;
    std::vector<LampTexts> m_texts;
    bool m_flashOn = true;
    int m_dragged = -1;
    QPoint m_dragStart;
    QPoint m_dragAt;
    bool m_dragging = false;
    QFont m_captionFont;
    QFont m_smallFont;
};

}  // namespace kx
