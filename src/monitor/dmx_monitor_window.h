#pragma once

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QWidget>
#include <array>

#include "base/dmx_frame.h"
#include "base/paths.h"
#include "monitor/channel_grid_view.h"
#include "monitor/channel_map.h"
#include "monitor/fixture_stage_view.h"
#include "monitor/lamp_look.h"

namespace kx {

// The DMX monitor ("DMX监视"): the transmitted channels of the output frame, one page per port,
// and the fixture view of the same frame. It reads the show's library and Channel Function
// names; it is told each tick's frame while it is open, and whether the frames reach the
// Controller. The lamp places it keeps in WORK_SET.
class DmxMonitorWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 1232;
    static constexpr int kHeight = 712;

    DmxMonitorWindow(const FixtureLibrary& library, const ChannelFunctionNames& names,
                     const AppPaths& paths, QWidget* parent = nullptr);

    // The frame a tick composed. A changed patch or set of names is taken up first.
    void showFrame(const DmxFrame& frame);
    void setOnline(bool online);
    // Where the window opens: beside the main window.
    void placeBeside(const QWidget& mainWindow);
    void choosePort(int port);
    int ticksShown() const { return m_ticksShown; }

    ChannelGridView& grid() { return *m_grid; }
    FixtureStageView& stage() { return *m_stage; }
    QLabel* infoLabel() const { return m_info; }
    QPushButton* portButton(int port) const { return m_ports.at(static_cast<std::size_t>(port)); }

  signals:
    void opened();
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void takePatch();
    void arrange();
    void describe(int index);
    void dropLamp(int page, int number, LampPlace target);

    const FixtureLibrary& m_library;
    const ChannelFunctionNames& m_names;
    AppPaths m_paths;
    // What the cells and lamps were last drawn for.
    FixtureLibrary m_patch;
    ChannelFunctionNames m_shownNames;
    ChannelRoles m_roles{};
    ChannelMap m_map;
    LampPlaces m_places;
    std::vector<PlacedLamp> m_arranged;
    DmxFrame m_frame{};
    int m_described = 0;  // the cell last pointed at or clicked
    int m_ticksShown = 0;

    std::array<QPushButton*, kMonitorPorts> m_ports{};
    QLabel* m_info;
    ChannelGridView* m_grid;
    QScrollArea* m_stageArea;
    FixtureStageView* m_stage;
};

}  // namespace kx
