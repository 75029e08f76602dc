#include "transfer/show_download.h"

#include "base/common.h"
#include "base/settings.h"

namespace kx {

namespace {

constexpr int kSettleMs = 50;

}  // namespace

ShowDownload::ShowDownload(FileTransfer& transfer, AppPaths paths, Hooks hooks)
    : m_transfer(transfer), m_paths(std::move(paths)), m_hooks(std::move(hooks)) {
    m_transfer.sceneAfterShowDownload = [this] {
        return m_switchScene && m_hooks.currentScene ? m_hooks.currentScene() : 0;
    };
}

ShowDownload::~ShowDownload() {
    m_transfer.sceneAfterShowDownload = {};
}

void ShowDownload::Fun_窗体载入(LogBox& log) {
    if (m_busy) return;
    if (!m_optionsLoaded) {
        Fun_读取下载自动断开连接();
        Fun_下载完自动切最后编辑场景();
        m_optionsLoaded = true;
        if (m_hooks.optionsLoaded) m_hooks.optionsLoaded();
    }
    Fun_下载上传文件界面(FileType::Show, log);
}

void ShowDownload::Fun_下载上传文件界面(FileType type, LogBox& log) {
    m_fileType = type;
    if (m_hooks.showSceneOption) m_hooks.showSceneOption(type == FileType::Show);
    if (type != FileType::Show) return;
    m_busy = true;
    Fun_下载灯光参数(log);
    m_busy = false;
}

void ShowDownload::Fun_下载灯光参数(LogBox& log) {
    if (!m_transfer.checkConnectedForTransfer(log)) return;
    bool saved = false;
    {
        // The save belongs to the transfer: nothing may start another one in its waits.
        const FileTransfer::Session session = m_transfer.begin(log);
        if (!session.active()) return;
        if (m_hooks.setButtonEnabled) m_hooks.setButtonEnabled(false);
        log.clear();
        appendLog(log, kLogDownloadShow);
        // Sending the file on disk when the save failed would pass an older show off as this one.
        saved = !m_hooks.saveShow || m_hooks.saveShow();
        if (saved) {
            Fun_Wait(m_transfer.link().waiter(), kSettleMs);
            m_transfer.downloadFile(session, FileType::Show, m_paths.showFile, log);
        } else {
            appendLog(log, kLogShowNotSaved);
        }
        if (m_hooks.setButtonEnabled) m_hooks.setButtonEnabled(true);
    }
    if (saved) Fun_完成之后重启判断();
}

void ShowDownload::Fun_完成之后重启判断() {
    // Only a release: the connect button's operation would connect when already released.
    if (m_transfer.transferSucceeded() == 1 && m_disconnectAfter && m_transfer.link().connected()) {
        m_transfer.link().toggleConnection();
    }
}

void ShowDownload::Fun_读取下载自动断开连接() {
    m_disconnectAfter = iniReadInt(m_paths.workSet, kKeyDisconnectAfterDownload) != 0;
}

void ShowDownload::Fun_下载完自动切最后编辑场景() {
    m_switchScene = iniReadInt(m_paths.workSet, kKeySwitchToLastScene) != 0;
}

void ShowDownload::setDisconnectAfterDownload(bool on) {
    m_disconnectAfter = on;
    Fun_IniWrite(m_paths.workSet, kKeyDisconnectAfterDownload, on ? "1" : "0");
}

void ShowDownload::setSwitchToLastScene(bool on) {
    m_switchScene = on;
    Fun_IniWrite(m_paths.workSet, kKeySwitchToLastScene, on ? "1" : "0");
}

}  // namespace kx
