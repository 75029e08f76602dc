#pragma once

#include <QFont>
#include <QStaticText>
#include <QWidget>
#include <array>
#include <vector>

#include "base/dmx_frame.h"
#include "monitor/channel_map.h"

namespace kx {

// One port's 512 channels of the output frame as cells of address and value, shaded by value;
// patched channels, overlaps and channels past their fixture's port are marked. It paints the
// cells itself (no widget per cell) and only the ones whose value changed.
class ChannelGridView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kCellWidth = 38;
    static constexpr int kCellHeight = 24;

    explicit ChannelGridView(QWidget* parent = nullptr);

    void setPort(int port);
    int port() const { return m_port; }
    // A tick's frame: the changed cells of the port shown are drawn again.
    void setFrame(const DmxFrame& frame);
    // A new patch: every cell is drawn again. The map must outlive its use here.
    void setChannelMap(const ChannelMap* map);
    void setSelected(int index);
    int selected() const { return m_selected; }

    // The cell of a transmitted channel on the port shown (empty for another port), and the
    // channel under a point (0: none).
    QRect cellRect(int index) const;
    int channelAt(QPoint point) const;
    int value(int index) const { return m_values[static_cast<std::size_t>(index)]; }

  signals:
    void channelHovered(int index);
    void channelClicked(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    // At the first paint rather than with the window, which the program makes at start-up
    // but may never open.
    void layOutTexts();
    void paintCell(QPainter& p, int index) const;
    void updateCell(int index);

    DmxFrame m_values{};
    std::vector<int> m_changed;
    const ChannelMap* m_map = nullptr;
    int m_port = 0;
    int m_selected = 0;
    int m_hovered = 0;
    QFont m_addressFont;
    QFont m_valueFont;
    // Laid out once: every value and every address a cell can show.
    bool m_textsLaidOut = false;
    std::array<QStaticText, 256> m_valueTexts;
    std::array<QStaticText, kChannelsPerPort> m_addressTexts;
};

}  // namespace kx
