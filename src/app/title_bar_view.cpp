#include "app/title_bar_view.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QTime>

#include "base/settings.h"
#include "link/protocol.h"
#include "shell/appearance_view.h"
#include "shell/widgets.h"

namespace kx {

namespace {

constexpr int kButtonTop = 8;
constexpr int kButtonHeight = 52;
// The status line below the function, save and connect buttons.
constexpr int kStatusTop = 64;
constexpr int kStatusHeight = 20;
constexpr int kFunctionLeft = 168;
constexpr int kFunctionWidth = 92;
constexpr int kFunctionStep = 98;
constexpr int kRightBlock = 884;

const std::map<int, QString> kFunctionCaptions{
    {1, "灯控"}, {3, "灯库"}, {4, "场景"}, {5, "测试"}, {6, "下载"}};

QFont buttonFont(int pixelSize, bool bold) {
    QFont f;
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

}  // namespace

TitleBarView::TitleBarView(const AppPaths& paths, const Appearance& appearance,
                           const PictureStore& pictures, QWidget* parent)
    : QWidget(parent),
      m_look(titleBarLook(appearance, iniReadInt(paths.workSet, "LoSet"))),
      m_background(pictures.titleBarBackground),
      m_relayOnPictures(pictures.relayOn),
      m_relayOffPictures(pictures.relayOff) {
    setObjectName("TitleBarView");
    setFixedHeight(kHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0xe6, 0xe9, 0xef));
    setPalette(pal);

    m_logo = new QLabel(this);
    m_logo->setObjectName("Image_logo");
    m_logo->setGeometry(6, 10, 150, 66);
    m_logo->setAlignment(Qt::AlignCenter);
    m_logo->setPixmap(
        pictures.logo.scaled(m_logo->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_logo->setVisible(m_look.logoVisible);

    int x = kFunctionLeft;
    for (int index : kFunctionIndices) {
        QPushButton* b = makeButton(this, "Command功能选择" + QString::number(index),
                                    kFunctionCaptions.at(index),
                                    QRect(x, kButtonTop, kFunctionWidth, kButtonHeight));
        makeGraphical(b);
        b->setFont(buttonFont(20, true));
        connect(b, &QPushButton::clicked, this, [this, index] { chooseFunction(index); });
        m_functions[index] = b;
        x += kFunctionStep;
    }
    m_save =
        makeButton(this, "Command立刻保存", "保存", QRect(x + 12, kButtonTop, 84, kButtonHeight));
    makeGraphical(m_save);
    m_save->setFont(buttonFont(18, true));
    connect(m_save, &QPushButton::clicked, this, &TitleBarView::save);
    m_saveRestore.setSingleShot(true);
    m_saveRestore.setInterval(kSaveRestoreMs);
    connect(&m_saveRestore, &QTimer::timeout, this, [this] { m_save->setText("保存"); });

    m_connect =
        makeButton(this, "Command连接", "未连接", QRect(x + 108, kButtonTop, 96, kButtonHeight));
    makeGraphical(m_connect);
    m_connect->setFont(buttonFont(18, true));
    setButtonBackColour(m_connect, m_look.connectOff);
    if (m_look.connectText) setButtonTextColour(m_connect, *m_look.connectText);
    connect(m_connect, &QPushButton::clicked, this, [this] {
        emit connectClicked();
        m_focus->setFocus();
    });

    m_status = new QLabel(this);
    m_status->setObjectName("Label状态");
    m_status->setGeometry(kFunctionLeft, kStatusTop, x + 204 - kFunctionLeft, kStatusHeight);
    m_status->setFont(buttonFont(13, false));
    m_status->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);

    m_focus = new QPushButton(this);
    m_focus->setObjectName("Command焦点");
    m_focus->setGeometry(-20, -20, 1, 1);
    m_focus->setFocusPolicy(Qt::StrongFocus);

    m_broadcast = new QCheckBox("广播模式", this);
    m_broadcast->setObjectName("Check广播模式");
    m_broadcast->setGeometry(kRightBlock, 8, 100, 28);
    m_broadcast->setFont(buttonFont(14, false));
    setControlColours(m_broadcast, m_look.serialBack, m_look.serialText);
    connect(m_broadcast, &QCheckBox::toggled, this, &TitleBarView::broadcastModeChanged);

    m_counters = new QLabel(counterText(0, 0), this);
    m_counters->setObjectName("Label数据包");
    m_counters->setGeometry(kRightBlock + 104, 8, 150, 28);
    m_counters->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    QFont mono("Monospace");
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPixelSize(14);
    m_counters->setFont(mono);
    setControlColours(m_counters, m_look.serialBack, m_look.serialText);
    m_counters->installEventFilter(this);

    m_upgrade =
        makeButton(this, "Command升级程序", "升级程序", QRect(kRightBlock + 258, 6, 66, 30));
    connect(m_upgrade, &QPushButton::clicked, this, &TitleBarView::upgradeClicked);

    m_developer =
        makeButton(this, "Command开发模式", "开发模式", QRect(kRightBlock + 328, 6, 66, 30));
    m_developer->setVisible(false);
    connect(m_developer, &QPushButton::clicked, this, &TitleBarView::developerConsoleClicked);

    m_relayLabel = new QLabel("继电器通道", this);
    m_relayLabel->setObjectName("Label继电器通道");
    m_relayLabel->setGeometry(kRightBlock, 46, 390, 32);
    m_relayLabel->setIndent(6);
    m_relayLabel->setFont(buttonFont(14, false));
    m_relayLabel->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    setControlColours(m_relayLabel, m_look.relayBack, m_look.relayText);
    for (int n = 1; n <= PictureStore::kRelayCount; ++n) {
        auto* lamp = new QLabel(this);
        lamp->setObjectName("Image调试继电器" + QString::number(n));
        lamp->setGeometry(kRightBlock + 88 + (n - 1) * 30, 51, 22, 22);
        lamp->setScaledContents(true);
        m_relays[n - 1] = lamp;
        setRelay(n, false);
    }

    // In the free space after the ninth relay indicator.
    m_monitor = makeButton(this, "CommandDMX监视", "DMX", QRect(kRightBlock + 354, 49, 36, 26));
    m_monitor->setFont(buttonFont(11, true));
    m_monitor->setToolTip("DMX监视 (F9)");
    m_monitor->setFocusPolicy(Qt::NoFocus);
    connect(m_monitor, &QPushButton::clicked, this, &TitleBarView::monitorClicked);

    for (auto& [index, b] : m_functions)
        setButtonBackColour(b, m_look.buttonNormal);
    setButtonBackColour(m_save, m_look.buttonNormal);
    for (auto& [index, b] : m_functions)
        setButtonTextColour(b, m_look.buttonText);
    setButtonTextColour(m_save, m_look.buttonText);
    if (!m_look.connectText) setButtonTextColour(m_connect, m_look.buttonText);
}

void TitleBarView::chooseFunction(int index) {
    highlightFunction(index);
    emit functionChosen(index);
}

void TitleBarView::highlightFunction(int index) {
    m_highlighted = m_functions.contains(index) ? index : 0;
    for (auto& [i, b] : m_functions)
        setButtonBackColour(b, i == m_highlighted ? m_look.buttonSelected : m_look.buttonNormal);
}

void TitleBarView::save() {
    m_saveRestore.stop();
    m_save->setText("保存中");
    m_save->repaint();
    emit saveRequested();
    m_saveRestore.start();
}

void TitleBarView::showStatus(const QString& text) {
    const QString line = QTime::currentTime().toString("HH:mm:ss") + "  " + text;
    m_statusText = line;
    m_status->setText(m_status->fontMetrics().elidedText(line, Qt::ElideMiddle, m_status->width()));
    m_status->setToolTip(line);
}

void TitleBarView::setConnected(bool connected) {
    setConnectCaption(connected ? "已连接" : "未连接");
    setConnectColour(connected ? m_look.connectOn : m_look.connectOff);
}

void TitleBarView::setConnectCaption(const QString& caption) {
    m_connect->setText(caption);
}

QString TitleBarView::connectCaption() const {
    return m_connect->text();
}

void TitleBarView::setConnectColour(Bgr colour) {
    setButtonBackColour(m_connect, colour);
}

void TitleBarView::setConnectEnabled(bool enabled) {
    m_connectBusy = !enabled;
    updateTransferControls();
}

void TitleBarView::setTransferRunning(bool running) {
    m_transferRunning = running;
    updateTransferControls();
}

void TitleBarView::updateTransferControls() {
    const bool free = !m_transferRunning;
    for (auto& [index, b] : m_functions)
        b->setEnabled(free);
    m_connect->setEnabled(free && !m_connectBusy);
    m_broadcast->setEnabled(free);
    m_upgrade->setEnabled(free);
    m_developer->setEnabled(free);
}

void TitleBarView::setCounters(int sent, int received) {
    m_counters->setText(counterText(sent, received));
}

void TitleBarView::setBroadcastMode(bool on) {
    QSignalBlocker block(m_broadcast);
    m_broadcast->setChecked(on);
}

void TitleBarView::setDeveloperMode(bool on) {
    m_developer->setVisible(on);
}

void TitleBarView::setRelay(int n, bool on) {
    if (n < 1 || n > PictureStore::kRelayCount) return;
    m_relayState[n - 1] = on;
    m_relays[n - 1]->setPixmap(on ? m_relayOnPictures[n - 1] : m_relayOffPictures[n - 1]);
}

bool TitleBarView::relayOn(int n) const {
    return n >= 1 && n <= PictureStore::kRelayCount && m_relayState[n - 1];
}

QPushButton* TitleBarView::functionButton(int index) const {
    auto it = m_functions.find(index);
    return it == m_functions.end() ? nullptr : it->second;
}

void TitleBarView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_background.isNull()) {
        p.drawPixmap(rect(), m_background);
        return;
    }
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(0x3a, 0x44, 0x58));
    g.setColorAt(1, QColor(0x1a, 0x1f, 0x2a));
    p.fillRect(rect(), g);
    p.setPen(QColor(0x0a, 0x0c, 0x10));
    p.drawLine(0, height() - 1, width(), height() - 1);
}

bool TitleBarView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_counters && event->type() == QEvent::MouseButtonDblClick) {
        if (!m_transferRunning) emit countersDoubleClicked();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kx
