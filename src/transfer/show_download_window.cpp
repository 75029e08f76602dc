#include "transfer/show_download_window.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kx {

ShowDownloadWindow::ShowDownloadWindow(FileTransfer& transfer, const AppPaths& paths,
                                       std::function<bool()> saveShow,
                                       std::function<int()> currentScene, QWidget* parent)
    : QWidget(parent),
      Label标题(new QLabel("下载 灯光参数", this)),
      Label下载信息(new QLabel("下载信息", this)),
      Text信息(new QPlainTextEdit(this)),
      Command下载_灯光参数(new QPushButton("下载 灯光参数", this)),
      Check下载完断开连接(new QCheckBox("下载完之后自动断开连接", this)),
      Check下载完自动切最后编辑场景(new QCheckBox("下载完自动切最后编辑场景", this)),
      progress(new TransferProgressView(transfer, this)),
      m_log(*Text信息) {
    setObjectName("ShowDownloadWindow");
    Label标题->setObjectName("Label标题");
    Label下载信息->setObjectName("Label下载信息");
    Text信息->setObjectName("Text信息");
    Text信息->setReadOnly(true);
    Command下载_灯光参数->setObjectName("Command下载_灯光参数");
    Check下载完断开连接->setObjectName("Check下载完断开连接");
    Check下载完自动切最后编辑场景->setObjectName("Check下载完自动切最后编辑场景");

    auto* options = new QHBoxLayout;
    options->addWidget(Check下载完断开连接);
    options->addWidget(Check下载完自动切最后编辑场景);
    options->addStretch();
    options->addWidget(Command下载_灯光参数);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label标题);
    layout->addWidget(Label下载信息);
    layout->addWidget(Text信息, 1);
    layout->addWidget(progress);
    layout->addLayout(options);

    ShowDownload::Hooks hooks;
    hooks.saveShow = std::move(saveShow);
    hooks.currentScene = std::move(currentScene);
    hooks.setButtonEnabled = [this](bool on) { Command下载_灯光参数->setEnabled(on); };
    hooks.showSceneOption = [this](bool on) { Check下载完自动切最后编辑场景->setVisible(on); };
    hooks.optionsLoaded = [this] { showOptions(); };
    m_core = std::make_unique<ShowDownload>(transfer, paths, std::move(hooks));

    connect(Command下载_灯光参数, &QPushButton::clicked, this,
            [this] { m_core->Fun_下载灯光参数(m_log); });
    connect(Check下载完断开连接, &QCheckBox::toggled, this,
            [this](bool on) { m_core->setDisconnectAfterDownload(on); });
    connect(Check下载完自动切最后编辑场景, &QCheckBox::toggled, this,
            [this](bool on) { m_core->setSwitchToLastScene(on); });
}

ShowDownloadWindow::~ShowDownloadWindow() = default;

void ShowDownloadWindow::showOptions() {
    // Loading the boxes is no click: nothing is written back.
    const QSignalBlocker a(Check下载完断开连接);
    const QSignalBlocker b(Check下载完自动切最后编辑场景);
    Check下载完断开连接->setChecked(m_core->disconnectAfterDownload());
    Check下载完自动切最后编辑场景->setChecked(m_core->switchToLastScene());
}

void ShowDownloadWindow::Fun_窗体载入() {
    if (m_core->busy()) return;
    show();
    Label标题->setText("下载 灯光参数");
    Label下载信息->setText("下载信息");
    m_core->Fun_窗体载入(m_log);
}

}  // namespace kx
