#include "roomctl/air_con_ir_window.h"

#include "base/common.h"
#include "shell/appearance_view.h"
#include "shell/widgets.h"

namespace kx {

namespace {

constexpr int kButtonWidth = 140;
constexpr int kButtonHeight = 44;
constexpr int kButtonPitch = 152;

// Key k's button in a frame's row of seven, 1-based in its name.
QPushButton* keyButton(QGroupBox* frame, const char* name, int key) {
    return makeButton(frame, QString::fromUtf8(name) + QString::number(key + 1),
                      airConKeyCaption(key),
                      QRect(14 + key * kButtonPitch, 28, kButtonWidth, kButtonHeight));
}

}  // namespace

AirConIrWindow::AirConIrWindow(Services services, QWidget* parent)
    : QWidget(parent), m_services(std::move(services)), m_editor(m_services.sendControl) {
    setObjectName("AirConIrWindow");
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0xe0, 0xe4, 0xec));
    setPalette(pal);

    auto* learning = new QGroupBox("在线学习", this);
    learning->setObjectName("Frame在线学习");
    learning->setGeometry(12, 12, 1256, 90);
    for (int key = 0; key < kAirConKeys; ++key) {
        m_learn[static_cast<std::size_t>(key)] = keyButton(learning, "Command红外空调学习", key);
        connect(learnButton(key), &QPushButton::clicked, this, [this, key] {
            m_editor.learn(key);
            showFeedback();
        });
    }
    QPushButton* stop =
        makeButton(learning, "Command停止学习", kAirConStopText,
                   QRect(14 + kAirConKeys * kButtonPitch, 28, kButtonWidth, kButtonHeight));
    connect(stop, &QPushButton::clicked, this, [this] {
        m_editor.stopLearning();
        showFeedback();
    });

    m_testFrame = new QGroupBox("红外空调发射测试", this);
    m_testFrame->setObjectName("Frame红外空调发射测试");
    m_testFrame->setGeometry(12, 112, 1256, 90);
    for (int key = 0; key < kAirConKeys; ++key) {
        m_test[static_cast<std::size_t>(key)] = keyButton(m_testFrame, "Command红外空调测试", key);
        connect(testButton(key), &QPushButton::clicked, this, [this, key] { test(key); });
    }

    m_feedback = new QPlainTextEdit(this);
    m_feedback->setObjectName("Text信息反馈");
    m_feedback->setGeometry(12, 214, 900, 400);
    m_feedback->setReadOnly(true);

    QPushButton* back = makeButton(this, "Command返回灯控", "返回灯控", QRect(928, 214, 160, 50));
    connect(back, &QPushButton::clicked, this, [this] { m_services.backToRoomControl(); });
    applyViewColours(this, m_services.appearance);
}

void AirConIrWindow::Fun_窗体载入() {
    m_services.showView(this);
}

void AirConIrWindow::Fun_红外空调在线学习反馈(std::uint8_t code,
                                              std::span<const std::uint8_t> data) {
    if (m_editor.receiveReply(code, data)) showFeedback();
}

void AirConIrWindow::test(int key) {
    QPushButton* button = testButton(key);
    m_testFrame->setEnabled(false);
    button->setEnabled(false);
    m_editor.Fun_发送已经保存红外码值(key);
    Fun_Wait(m_services.waiter, kAirConTestLockMs);
    button->setEnabled(true);
    m_testFrame->setEnabled(true);
}

void AirConIrWindow::showFeedback() {
    m_feedback->setPlainText(m_editor.feedback());
    m_feedback->moveCursor(QTextCursor::End);
}

}  // namespace kx
