#pragma once

#include <QLineEdit>
#include <QList>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "transfer/device_files.h"
#include "transfer/text_log_view.h"
#include "transfer/transfer_progress_view.h"

namespace kx {

// The device files and firmware view. The log box also takes typed commands.
class DeviceFilesWindow : public QWidget {
    Q_OBJECT
  public:
    // hooks: developer mode, the title-bar logo; the path box and the information button are
    // the window's own. Its files are chosen through dialogs.
    DeviceFilesWindow(FileTransfer& transfer, const AppPaths& paths, FileDialogs dialogs,
                      DeviceFiles::Hooks hooks, QWidget* parent = nullptr);
    ~DeviceFilesWindow() override;

    void Fun_窗体载入();
    DeviceFiles& core() { return *m_core; }

    static constexpr int kTypedCommandDelayMs = 100;

    QPlainTextEdit* Text信息;
    QLineEdit* Text文件;
    QPushButton* Command下载墙板参数文件;
    QPushButton* Command上传墙板参数文件;
    QPushButton* Command下载VOD参数文件;
    QPushButton* Command上传VOD参数文件;
    QPushButton* Command下载_红外空调参数文件;
    QPushButton* Command上传_红外空调参数文件;
    QPushButton* Command上传灯光参数文件;
    QPushButton* Command文件;
    QPushButton* Command升级程序;
    QPushButton* Command读取版本号;
    QPushButton* Command读取电脑信息;
    QPushButton* Command查看墙板和VOD文件ID;
    TransferProgressView* progress;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A button running a command; transfer buttons are disabled while any transfer runs.
    QPushButton* commandButton(const QString& name, const QString& caption,
                               std::function<void()> run, bool transfer);
    void onTypedCommandTimer();

    FileTransfer& m_transfer;
    int m_runningObserver = 0;
    TextLogView m_log;
    QTimer m_typedCommandTimer;
    QList<QPushButton*> m_transferButtons;
    std::unique_ptr<DeviceFiles> m_core;
};

}  // namespace kx
