#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <memory>

#include "transfer/show_download.h"
#include "transfer/text_log_view.h"
#include "transfer/transfer_progress_view.h"

namespace kx {

// The Show download view: opening it saves the show and downloads it to the Controller.
class ShowDownloadWindow : public QWidget {
    Q_OBJECT
  public:
    // saveShow writes the whole show to the default Show File (false when it could not);
    // currentScene is the scene selected in the scene editor.
    ShowDownloadWindow(FileTransfer& transfer, const AppPaths& paths,
                       std::function<bool()> saveShow, std::function<int()> currentScene,
                       QWidget* parent = nullptr);
    ~ShowDownloadWindow() override;

    // Shows the view and starts the download (nothing while one is running).
    void Fun_窗体载入();
    ShowDownload& core() { return *m_core; }
    LogBox& log() { return m_log; }

    QLabel* Label标题;
    QLabel* Label下载信息;
    QPlainTextEdit* Text信息;
    QPushButton* Command下载_灯光参数;
    QCheckBox* Check下载完断开连接;
    QCheckBox* Check下载完自动切最后编辑场景;
    TransferProgressView* progress;

  private:
    void showOptions();

    TextLogView m_log;
    std::unique_ptr<ShowDownload> m_core;
};

}  // namespace kx
