#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "link/controller_link.h"
#include "shell/appearance.h"

namespace kx {

// A raw terminal onto the Controller: its diagnostic text, the command list, direct hex sends
// and simulated commands. While it is open the link shows diagnostic packets here and stops
// announcing itself.
class DeveloperConsoleWindow : public QWidget {
    Q_OBJECT
  public:
    DeveloperConsoleWindow(ControllerLink& link, const Appearance& appearance,
                           QWidget* parent = nullptr);

    // Opening: the developer log is open and the command list filled. The caller shows it.
    void Fun_窗体载入();
    // Appends text and a line break (or not) to the log, keeps it within its limit and puts the
    // caret at its end.
    void Fun_信息_In(const QString& text);
    void Fun_信息_In_no_enter(const QString& text);

    QString logText() const { return m_log; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void appendLog(const QString& text);
    void sendDirect();

    ControllerLink& m_link;
    QString m_log;
    QPlainTextEdit* m_logBox;
    QListWidget* m_commands;
    QLineEdit* m_direct;
    QLineEdit* m_code;
    QLineEdit* m_data;
    QCheckBox* m_pause;
};

}  // namespace kx
