#include "transfer/device_files_window.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "shell/widgets.h"

namespace kx {

DeviceFilesWindow::DeviceFilesWindow(FileTransfer& transfer, const AppPaths& paths,
                                     FileDialogs dialogs, DeviceFiles::Hooks hooks, QWidget* parent)
    : QWidget(parent),
      Text信息(new QPlainTextEdit(this)),
      Text文件(new QLineEdit(this)),
      progress(new TransferProgressView(transfer, this)),
      m_transfer(transfer),
      m_log(*Text信息) {
    setObjectName("DeviceFilesWindow");
    Text信息->setObjectName("Text信息");
    Text文件->setObjectName("Text文件");
    Text文件->setReadOnly(true);

    hooks.setFirmwarePath = [this](const QString& path) { Text文件->setText(path); };
    hooks.showComputerInfoButton = [this](bool on) { Command读取电脑信息->setVisible(on); };
    m_core = std::make_unique<DeviceFiles>(transfer, paths, m_log, dialogs, std::move(hooks));
    m_runningObserver = transfer.addRunningObserver([this](bool running) {
        for (QPushButton* b : m_transferButtons)
            b->setEnabled(!running);
    });
    DeviceFiles& d = *m_core;

    Command下载墙板参数文件 = commandButton(
        "Command下载墙板参数文件", "下载墙板参数文件",
        [&d] { d.downloadDeviceFile(wallPanelFile()); }, true);
    Command上传墙板参数文件 = commandButton(
        "Command上传墙板参数文件", "上传墙板参数文件",
        [&d] { d.uploadDeviceFile(wallPanelFile()); }, true);
    Command下载VOD参数文件 = commandButton(
        "Command下载VOD参数文件", "下载VOD参数文件", [&d] { d.downloadDeviceFile(vodFile()); },
        true);
    Command上传VOD参数文件 = commandButton(
        "Command上传VOD参数文件", "上传VOD参数文件", [&d] { d.uploadDeviceFile(vodFile()); }, true);
    Command下载_红外空调参数文件 = commandButton(
        "Command下载_红外空调参数文件", "下载红外空调参数文件",
        [&d] { d.downloadDeviceFile(airConditionerFile()); }, true);
    Command上传_红外空调参数文件 = commandButton(
        "Command上传_红外空调参数文件", "上传红外空调参数文件",
        [&d] { d.uploadDeviceFile(airConditionerFile()); }, true);
    Command上传灯光参数文件 = commandButton(
        "Command上传灯光参数文件", "上传灯光参数文件",
        [&d] { d.uploadDeviceFile(showUploadFile()); }, true);
    Command文件 = commandButton(
        "Command文件", "选择文件", [&d] { d.chooseFirmwareFile(); }, false);
    Command升级程序 = commandButton(
        "Command升级程序", "升级机器程序", [&d] { d.downloadFirmware(); }, true);
    Command读取版本号 = commandButton(
        "Command读取版本号", "读取版本号", [&d] { d.Fun_请求版本号(); }, false);
    Command读取电脑信息 = commandButton(
        "Command读取电脑信息", "读取电脑信息", [&d] { d.requestComputerInfo(); }, false);
    Command读取电脑信息->setVisible(false);
    Command查看墙板和VOD文件ID = commandButton(
        "Command查看墙板和VOD文件ID", "查看墙板和VOD文件ID", [&d] { d.requestFileIds(); }, false);

    auto* grid = new QGridLayout;
    grid->addWidget(Command下载墙板参数文件, 0, 0);
    grid->addWidget(Command上传墙板参数文件, 0, 1);
    grid->addWidget(Command下载VOD参数文件, 1, 0);
    grid->addWidget(Command上传VOD参数文件, 1, 1);
    grid->addWidget(Command下载_红外空调参数文件, 2, 0);
    grid->addWidget(Command上传_红外空调参数文件, 2, 1);
    grid->addWidget(Command上传灯光参数文件, 3, 1);
    grid->addWidget(Text文件, 4, 0, 1, 2);
    grid->addWidget(Command文件, 5, 0);
    grid->addWidget(Command升级程序, 5, 1);
    grid->addWidget(Command读取版本号, 6, 0);
    grid->addWidget(Command查看墙板和VOD文件ID, 6, 1);
    grid->addWidget(Command读取电脑信息, 7, 0);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(Text信息, 1);
    layout->addWidget(progress);

    m_typedCommandTimer.setSingleShot(true);
    m_typedCommandTimer.setInterval(kTypedCommandDelayMs);
    connect(&m_typedCommandTimer, &QTimer::timeout, this, &DeviceFilesWindow::onTypedCommandTimer);
    Text信息->installEventFilter(this);
}

DeviceFilesWindow::~DeviceFilesWindow() {
    m_transfer.removeRunningObserver(m_runningObserver);
}

QPushButton* DeviceFilesWindow::commandButton(const QString& name, const QString& caption,
                                              std::function<void()> run, bool transfer) {
    QPushButton* button = makeButton(this, name, caption);
    if (transfer) m_transferButtons << button;
    connect(button, &QPushButton::clicked, this, std::move(run));
    return button;
}

void DeviceFilesWindow::Fun_窗体载入() {
    show();
    m_core->Fun_窗体载入();
}

bool DeviceFilesWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text信息 && event->type() == QEvent::KeyPress) m_typedCommandTimer.start();
    return QWidget::eventFilter(watched, event);
}

void DeviceFilesWindow::onTypedCommandTimer() {
    m_typedCommandTimer.stop();
    m_core->runTypedCommand(Text信息->toPlainText());
}

}  // namespace kx
