#pragma once

#include <QString>
#include <functional>

#include "base/paths.h"
#include "transfer/file_transfer.h"

namespace kx {

// The two options of the Show download, in WORK_SET.
inline const QString kKeyDisconnectAfterDownload = QStringLiteral("下载完之后自动断开连接");
inline const QString kKeySwitchToLastScene = QStringLiteral("下载完自动切最后编辑场景");
inline const QString kLogDownloadShow = QStringLiteral("->下载灯光文件 ");
inline const QString kLogShowNotSaved = QStringLiteral("->文件保存失败");

// What the Show download window does: save the show, download it as file type 1, and after a
// verified download optionally release the Controller so it restarts with the new show.
class ShowDownload {
  public:
    struct Hooks {
        // Writes the whole show to the default Show File; false when it could not (the save
        // shows its own message).
        std::function<bool()> saveShow;
        // The scene selected in the scene editor.
        std::function<int()> currentScene;
        // Command下载_灯光参数 enabled or not.
        std::function<void(bool)> setButtonEnabled;
        // The scene check box is shown for file type 1 only.
        std::function<void(bool)> showSceneOption;
        // The check boxes show the options loaded from the settings.
        std::function<void()> optionsLoaded;
    };

    ShowDownload(FileTransfer& transfer, AppPaths paths, Hooks hooks);
    ~ShowDownload();
    ShowDownload(const ShowDownload&) = delete;
    ShowDownload& operator=(const ShowDownload&) = delete;

    // Opening the window (ignored while the automatic download runs; the live output has been
    // told its view already): the options are loaded the first time, and the download starts.
    void Fun_窗体载入(LogBox& log);
    void Fun_下载上传文件界面(FileType type, LogBox& log);
    void Fun_下载灯光参数(LogBox& log);
    void Fun_完成之后重启判断();

    void Fun_读取下载自动断开连接();
    void Fun_下载完自动切最后编辑场景();
    // A click on a check box: the new value is stored at once.
    void setDisconnectAfterDownload(bool on);
    void setSwitchToLastScene(bool on);

    bool disconnectAfterDownload() const { return m_disconnectAfter; }
    bool switchToLastScene() const { return m_switchScene; }
    bool busy() const { return m_busy; }
    FileType fileType() const { return m_fileType; }

  private:
    FileTransfer& m_transfer;
    AppPaths m_paths;
    Hooks m_hooks;
    FileType m_fileType = FileType::Show;
    bool m_busy = false;
    bool m_optionsLoaded = false;
    bool m_disconnectAfter = false;
    bool m_switchScene = false;
};

}  // namespace kx
