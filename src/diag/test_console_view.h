#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <map>
#include <span>
#include <utility>

#include "diag/test_console.h"
#include "shell/appearance.h"

namespace kx {

// The test console view (view 10): scene calls, special actions, fan, air conditioner, audio
// source, VOD keys, the two serial monitors and the automatic drum beats.
class TestConsoleView : public QWidget {
    Q_OBJECT
  public:
    // A scene's remark and whether its mains follow the DMX output.
    using SceneInfo = std::function<std::pair<QString, bool>(int scene)>;

    TestConsoleView(ControllerLink& link, const Appearance& appearance, SceneInfo sceneInfo,
                    std::function<void(QWidget*)> showView, QWidget* parent = nullptr);

    // Entering the view: live output view 10, serial test on, automatic drum off, scene captions.
    // Entering the console (the live output has been told its view already).
    void Fun_窗体载入();
    // The serial monitor: wall panel and VOD echoes of the Controller.
    void onReply(std::uint8_t code, std::span<const std::uint8_t> data);
    void Fun_场景选择_控件显示();
    // Appends to a monitor and puts the caret at its end.
    void Fun_信息显示(QPlainTextEdit* box, const QString& text);

    TestConsole& console() { return m_console; }
    QPushButton* sceneButton(int n) const { return m_scenes.at(n); }

  private:
    void buildSceneFrame();
    void buildCommandFrames();
    void buildMonitors();
    void addCommandRow(const QString& title, QRect r, const QString& name,
                       std::span<const ConsoleButton> buttons, void (TestConsole::*action)(int),
                       int width);
    void addSerialMonitor(const QString& title, int left, const QString& sendName,
                          const QString& buttonName, const QString& clearName,
                          const QString& monitorName, std::uint8_t port, QLineEdit*& send,
                          QPlainTextEdit*& box);
    void refreshDrumButton();
    void sendSerial(QLineEdit* from, QPlainTextEdit* monitor, std::uint8_t port);

    ControllerLink& m_link;
    const Appearance& m_appearance;
    SceneInfo m_sceneInfo;
    std::function<void(QWidget*)> m_showView;
    TestConsole m_console;
    std::map<int, QPushButton*> m_scenes;
    QPushButton* m_drumButton = nullptr;
    QLineEdit* m_wallSend = nullptr;
    QPlainTextEdit* m_wallMonitor = nullptr;
    QLineEdit* m_vodSend = nullptr;
    QPlainTextEdit* m_vodMonitor = nullptr;
};

}  // namespace kx
