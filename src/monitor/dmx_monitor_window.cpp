#include "monitor/dmx_monitor_window.h"

#include <QScreen>

#include "monitor/dmx_monitor_state.h"
#include "shell/widgets.h"

namespace kx {

namespace {

constexpr int kMargin = 8;
constexpr int kTopRow = 30;
constexpr int kPortButtonWidth = 52;
constexpr int kStageTop = 466;

const QString kPortButtonStyle = QStringLiteral(
    "QPushButton { background: #2a3142; color: #d8dce4; border: 1px solid #454f66;"
    " border-radius: 3px; font-weight: bold; }"
    "QPushButton:checked { background: #bf1060; color: #ffffff; border-color: #e04080; }");

QString legendDot(Rgb c, const QString& text) {
    return QStringLiteral("<span style='color:#%1'>■</span> %2")
        .arg(QString::asprintf("%02x%02x%02x", c.r, c.g, c.b), text);
}

}  // namespace

DmxMonitorWindow::DmxMonitorWindow(const FixtureLibrary& library, const ChannelFunctionNames& names,
                                   const AppPaths& paths, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_library(library),
      m_names(names),
      m_paths(paths),
      m_patch(library),
      m_shownNames(names),
      m_roles(channelRoles(names)),
      m_map(ChannelMap::of(library)),
      m_places(loadLampPlaces(paths.workSet)) {
    setObjectName("DmxMonitorWindow");
    setFixedSize(kWidth, kHeight);
    setWindowTitle(monitorCaption(false));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x12, 0x16, 0x1e));
    pal.setColor(QPalette::WindowText, QColor(0xd8, 0xdc, 0xe4));
    setPalette(pal);

    for (int port = 0; port < kMonitorPorts; ++port) {
        QPushButton* b = makeButton(
            this, "Command监视端口" + QString::number(port + 1), portName(port),
            QRect(kMargin + port * (kPortButtonWidth + 4), kMargin, kPortButtonWidth, kTopRow));
        b->setCheckable(true);
        b->setStyleSheet(kPortButtonStyle);
        connect(b, &QPushButton::clicked, this, [this, port] { choosePort(port); });
        m_ports[static_cast<std::size_t>(port)] = b;
    }
    const int infoLeft = kMargin + kMonitorPorts * (kPortButtonWidth + 4) + 8;
    m_info = new QLabel(this);
    m_info->setObjectName("Label通道说明");
    m_info->setGeometry(infoLeft, kMargin, kWidth - kMargin - infoLeft, kTopRow);
    m_info->setIndent(8);
    m_info->setStyleSheet(
        "background: #1e2430; color: #f0f2f6; border: 1px solid #3a4458; font-size: 14px;");

    m_grid = new ChannelGridView(this);
    m_grid->setObjectName("Picture通道数值");
    m_grid->move(kMargin, kMargin + kTopRow + 8);
    m_grid->setChannelMap(&m_map);
    connect(m_grid, &ChannelGridView::channelHovered, this, &DmxMonitorWindow::describe);
    connect(m_grid, &ChannelGridView::channelClicked, this, &DmxMonitorWindow::describe);

    auto* legend = new QLabel(this);
    legend->setObjectName("Label图例");
    legend->setGeometry(kMargin, m_grid->geometry().bottom() + 4, kWidth - 2 * kMargin, 22);
    legend->setTextFormat(Qt::RichText);
    legend->setStyleSheet("font-size: 12px; color: #c8ccd4;");
    legend->setText(legendDot(kPatchedMark, "已配接") + "&nbsp;&nbsp;&nbsp;" +
                    legendDot(kOverlapMark, "重叠") + "&nbsp;&nbsp;&nbsp;" +
                    legendDot(kOverrunMark, "越界") +
                    "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;指向或点击格子查看灯具与通道功能；"
                    "拖动灯具按房间摆放");

    m_stageArea = new QScrollArea(this);
    m_stageArea->setObjectName("Frame灯具视图");
    m_stageArea->setGeometry(kMargin, kStageTop, kWidth - 2 * kMargin,
                             kHeight - kStageTop - kMargin);
    m_stageArea->setFrameShape(QFrame::NoFrame);
    m_stageArea->setStyleSheet("QScrollArea { background: #12161e; }");
    m_stage = new FixtureStageView;
    m_stage->setObjectName("Picture灯具视图");
    m_stageArea->setWidget(m_stage);
    connect(m_stage, &FixtureStageView::lampDropped, this, &DmxMonitorWindow::dropLamp);

    arrange();
    choosePort(0);
}

void DmxMonitorWindow::choosePort(int port) {
    for (int i = 0; i < kMonitorPorts; ++i)
        m_ports[static_cast<std::size_t>(i)]->setChecked(i == port);
    m_grid->setPort(port);
}

void DmxMonitorWindow::setOnline(bool online) {
    setWindowTitle(monitorCaption(online));
}

void DmxMonitorWindow::placeBeside(const QWidget& mainWindow) {
    const QScreen* screen = mainWindow.screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    move(besidePosition(mainWindow.frameGeometry(), frameGeometry().size(), available));
}

void DmxMonitorWindow::showFrame(const DmxFrame& frame) {
    ++m_ticksShown;
    m_frame = frame;
    takePatch();
    m_grid->setFrame(frame);
    m_stage->setLooks(lampLooks(m_library, frame, m_roles));
    if (m_described != 0) describe(m_described);
}

void DmxMonitorWindow::takePatch() {
    const bool patchChanged = !samePatch(m_patch, m_library);
    const bool namesChanged = !sameNames(m_shownNames, m_names);
    if (!patchChanged && !namesChanged) return;
    m_patch = m_library;
    if (namesChanged) {
        m_shownNames = m_names;
        m_roles = channelRoles(m_names);
    }
    m_map = ChannelMap::of(m_library);
    m_grid->setChannelMap(&m_map);
    arrange();
}

void DmxMonitorWindow::arrange() {
    m_arranged = arrangeLamps(m_library, m_places);
    std::vector<FixtureStageView::Lamp> lamps;
    lamps.reserve(m_arranged.size());
    for (const PlacedLamp& placed : m_arranged) {
        const Fixture& f = m_library.at(placed.page, placed.number);
        QString caption = placed.page == 0
                              ? QString::number(placed.number)
                              : QStringLiteral("%1-%2").arg(placed.page + 1).arg(placed.number);
        if (!f.name.isEmpty()) caption += " " + f.name;
        lamps.push_back(
            {placed, caption, portName(f.port) + "-" + QString::number(f.startAddress)});
    }
    m_stage->setLamps(std::move(lamps));
    m_stage->setLooks(lampLooks(m_library, m_frame, m_roles));
}

void DmxMonitorWindow::describe(int index) {
    m_described = index;
    m_info->setText(describeChannel(index, m_map, m_library, m_names) + "   = " +
                    QString::number(m_grid->value(index)));
}

void DmxMonitorWindow::dropLamp(int page, int number, LampPlace target) {
    m_places = moveLamp(m_arranged, m_places, page, number, target);
    saveLampPlaces(m_paths.workSet, m_places);
    arrange();
}

void DmxMonitorWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit opened();
}

void DmxMonitorWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit closed();
}

}  // namespace kx
