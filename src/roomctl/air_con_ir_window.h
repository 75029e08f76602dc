#pragma once

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>

#include "base/waiter.h"
#include "roomctl/air_con_ir.h"
#include "shell/appearance.h"

namespace kx {

// The air-conditioner IR window (live view 11): a learn and a test button for each of the seven
// air-conditioner states, stop learning, the Controller's feedback and the way back.
class AirConIrWindow : public QWidget {
    Q_OBJECT
  public:
    struct Services {
        const Appearance& appearance;
        // The test buttons' rest after a press.
        Waiter waiter;
        AirConIrEditor::SendControl sendControl;
        // Brings a view to the front.
        std::function<void(QWidget*)> showView;
        std::function<void()> backToRoomControl;
    };

    explicit AirConIrWindow(Services services, QWidget* parent = nullptr);

    AirConIrEditor& editor() { return m_editor; }

    // Entering the window (the live output has been told view 11).
    void Fun_窗体载入();
    // The reply consumer: a learned key is told in the feedback box.
    void Fun_红外空调在线学习反馈(std::uint8_t code, std::span<const std::uint8_t> data);

    // Key 0-6.
    QPushButton* learnButton(int key) const { return m_learn.at(static_cast<std::size_t>(key)); }
    QPushButton* testButton(int key) const { return m_test.at(static_cast<std::size_t>(key)); }
    QGroupBox* testFrame() const { return m_testFrame; }
    QPlainTextEdit* feedbackBox() const { return m_feedback; }

  private:
    void test(int key);
    void showFeedback();

    Services m_services;
    AirConIrEditor m_editor;
    std::array<QPushButton*, kAirConKeys> m_learn{};
    std::array<QPushButton*, kAirConKeys> m_test{};
    QGroupBox* m_testFrame = nullptr;
    QPlainTextEdit* m_feedback = nullptr;
};

}  // namespace kx
