#include "diag/test_console_view.h"

#include <QGroupBox>

#include "shell/appearance_view.h"
#include "shell/widgets.h"

namespace kx {

namespace {

constexpr int kSceneColumns = 13;
constexpr int kSceneWidth = 84;
constexpr int kSceneHeight = 40;
constexpr int kGap = 6;

}  // namespace

TestConsoleView::TestConsoleView(ControllerLink& link, const Appearance& appearance,
                                 SceneInfo sceneInfo, std::function<void(QWidget*)> showView,
                                 QWidget* parent)
    : QWidget(parent),
      m_link(link),
      m_appearance(appearance),
      m_sceneInfo(std::move(sceneInfo)),
      m_showView(std::move(showView)),
      m_console(link) {
    setObjectName("TestConsoleView");
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0xe0, 0xe4, 0xec));
    setPalette(pal);
    buildSceneFrame();
    buildCommandFrames();
    buildMonitors();
    applyViewColours(this, m_appearance);
    m_console.Fun_自动鼓点初始化();
    refreshDrumButton();
}

void TestConsoleView::buildSceneFrame() {
    QGroupBox* box = makeFrame(this, "场景", QRect(10, 8, 1260, 172));
    for (int n = 1; n <= kConsoleSceneButtons; ++n) {
        const int col = (n - 1) % kSceneColumns;
        const int row = (n - 1) / kSceneColumns;
        QPushButton* b =
            makeButton(box, "Command场景" + QString::number(n), QString::number(n),
                       QRect(12 + col * (kSceneWidth + 12), 26 + row * (kSceneHeight + 8),
                             kSceneWidth, kSceneHeight));
        connect(b, &QPushButton::clicked, this, [this, n] { m_console.sceneClicked(n); });
        m_scenes[n] = b;
    }
}

// Outside any other lambda: a lambda that captured this, made inside another that captured it
// too, is miscompiled under the sanitizers.
void TestConsoleView::addCommandRow(const QString& title, QRect r, const QString& name,
                                    std::span<const ConsoleButton> buttons,
                                    void (TestConsole::*action)(int), int width) {
    QGroupBox* box = makeFrame(this, title, r);
    int x = 10;
    for (const ConsoleButton& cb : buttons) {
        QPushButton* b = makeButton(box, name + QString::number(cb.index),
                                    QString::fromUtf8(cb.caption), QRect(x, 24, width, 34));
        const int index = cb.index;
        connect(b, &QPushButton::clicked, this,
                [this, action, index] { (m_console.*action)(index); });
        x += width + kGap;
    }
}

void TestConsoleView::buildCommandFrames() {
    addCommandRow("排风", QRect(10, 188, 184, 70), "Command排风", kFanButtons, &TestConsole::fan,
                  76);
    addCommandRow("空调模式", QRect(202, 188, 184, 70), "Command空调制冷制热", kAirConModeButtons,
                  &TestConsole::airConMode, 76);
    addCommandRow("空调风速", QRect(394, 188, 348, 70), "Command空调风速", kAirConSpeedButtons,
                  &TestConsole::airConSpeed, 76);
    addCommandRow("音源", QRect(750, 188, 266, 70), "Command音源", kAudioSourceButtons,
                  &TestConsole::audioSource, 76);
    addCommandRow("VOD按键", QRect(10, 266, 1006, 70), "Command_内部_keyd指令_to_vod",
                  kVodKeyButtons, &TestConsole::vodKey, 84);

    QGroupBox* effects = makeFrame(this, "特效", QRect(1024, 188, 246, 148));
    int i = 0;
    for (const FixedTextButton& fb : kFixedTextButtons) {
        QPushButton* b = makeButton(effects, fb.name, fb.caption,
                                    QRect(10 + (i % 3) * 78, 24 + (i / 3) * 40, 72, 34));
        const QString text = fb.text;
        connect(b, &QPushButton::clicked, this, [this, text] { m_console.sendText(text); });
        ++i;
    }
    m_drumButton = makeButton(effects, "Command自动鼓点", "", QRect(10, 104, 226, 34));
    makeGraphical(m_drumButton);
    connect(m_drumButton, &QPushButton::clicked, this, [this] {
        m_console.drum().press();
        refreshDrumButton();
    });
}

void TestConsoleView::addSerialMonitor(const QString& title, int left, const QString& sendName,
                                       const QString& buttonName, const QString& clearName,
                                       const QString& monitorName, std::uint8_t port,
                                       QLineEdit*& send, QPlainTextEdit*& box) {
    QGroupBox* f = makeFrame(this, title, QRect(left, 344, 560, 320));
    send = new QLineEdit(f);
    send->setObjectName(sendName);
    send->setGeometry(10, 26, 360, 32);
    QPushButton* go = makeButton(f, buttonName, "发送", QRect(378, 26, 80, 32));
    QPushButton* clear = makeButton(f, clearName, "清空", QRect(466, 26, 80, 32));
    box = new QPlainTextEdit(f);
    box->setObjectName(monitorName);
    box->setReadOnly(true);
    box->setGeometry(10, 66, 536, 242);
    QLineEdit* s = send;
    QPlainTextEdit* m = box;
    connect(go, &QPushButton::clicked, this, [this, s, m, port] { sendSerial(s, m, port); });
    connect(clear, &QPushButton::clicked, m, &QPlainTextEdit::clear);
}

void TestConsoleView::buildMonitors() {
    addSerialMonitor("墙板串口", 10, "Text发送墙板测试", "Command发送墙板测试",
                     "Command清空墙板发送测试", "Text接收墙板测试", kSerialWallPanel, m_wallSend,
                     m_wallMonitor);
    addSerialMonitor("VOD串口", 578, "Text_VOD发送测试", "Command_VOD发送测试",
                     "Command_VOD发送测试_清空", "Text_VOD接收测试", kSerialVod, m_vodSend,
                     m_vodMonitor);
    QPushButton* open = makeButton(this, "Command打开测试", "打开测试", QRect(1150, 350, 110, 40));
    connect(open, &QPushButton::clicked, this,
            [this] { m_console.Fun_功能测试功能开启关闭(true); });
}

void TestConsoleView::sendSerial(QLineEdit* from, QPlainTextEdit* monitor, std::uint8_t port) {
    if (!m_console.Fun_模拟发送墙板测试指令(port, from->text())) {
        Fun_信息显示(monitor, TestConsole::kDataError);
    }
}

void TestConsoleView::Fun_信息显示(QPlainTextEdit* box, const QString& text) {
    QString t = text;
    t.remove('\r');
    box->moveCursor(QTextCursor::End);
    box->insertPlainText(t);
    box->moveCursor(QTextCursor::End);
}

void TestConsoleView::refreshDrumButton() {
    m_drumButton->setText(m_console.drum().caption());
    setButtonBackColour(m_drumButton, autoDrumColour(m_console.drum()));
}

void TestConsoleView::onReply(std::uint8_t code, std::span<const std::uint8_t> data) {
    const auto echo = Fun_模拟发送墙板_接收(code, data);
    if (!echo) return;
    Fun_信息显示(echo->port == kSerialWallPanel ? m_wallMonitor : m_vodMonitor, echo->text);
}

void TestConsoleView::Fun_窗体载入() {
    if (m_showView) m_showView(this);
    m_console.Fun_功能测试功能开启关闭(true);
    m_console.Fun_自动鼓点初始化();
    refreshDrumButton();
    Fun_场景选择_控件显示();
}

void TestConsoleView::Fun_场景选择_控件显示() {
    for (auto& [n, button] : m_scenes) {
        const auto [remark, mainsByDmx] =
            m_sceneInfo ? m_sceneInfo(n) : std::pair{QString(), false};
        QString caption = sceneButtonCaption(n, remark, mainsByDmx);
        if (m_appearance.customised) caption = captionBreaks(caption, m_appearance);
        button->setText(caption);
    }
}

}  // namespace kx
