#pragma once

#include <QPixmap>
#include <QWidget>

#include "shell/fader.h"

namespace kx {

// A simulated fader on a picture box: the track picture with the knob picture drawn at the knob
// position. Geometry, drag and value mapping are FaderModel's, in twips (15 per pixel). The owner
// sets its value without hearing back; a drag reports every step through faderChanged (the
// owner's Fun_推杆_Change).
class FaderView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kTwipsPerPixel = 15;

    explicit FaderView(int index, QWidget* parent = nullptr);

    int index() const { return m_index; }
    void setFaderMax(int max);
    // Moves the knob for 0 <= value <= max; other values leave it (false).
    bool setFaderValue(int value);
    int value() const { return m_model.value(); }
    const FaderModel& model() const { return m_model; }
    // The knob's top edge in pixels.
    int knobTop();

    void setTrackPicture(const QPixmap& picture);
    void setKnobPicture(const QPixmap& picture);

    QSize sizeHint() const override;

  signals:
    void faderChanged(int index, int value);
    void dragFinished(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void report(std::optional<int> value);
    // Hidden widgets hear of a resize only when shown; the track follows the height at once.
    void syncHeight();

    int m_index;
    FaderModel m_model;
    int m_value = 0;  // the value last placed or reported, kept through resizes
    QPixmap m_track;
    QPixmap m_knob;
};

}  // namespace kx
