#include "diag/developer_console_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>

#include "diag/developer_console.h"
#include "shell/appearance_view.h"

namespace kx {

DeveloperConsoleWindow::DeveloperConsoleWindow(ControllerLink& link, const Appearance& appearance,
                                               QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_link(link),
      m_logBox(new QPlainTextEdit(this)),
      m_commands(new QListWidget(this)),
      m_direct(new QLineEdit(this)),
      m_code(new QLineEdit(this)),
      m_data(new QLineEdit(this)),
      m_pause(new QCheckBox("暂停接收", this)) {
    setObjectName("DeveloperConsoleWindow");
    setWindowTitle("开发模式");
    resize(900, 600);
    m_logBox->setObjectName("Text接收信息");
    m_logBox->setReadOnly(true);
    m_commands->setObjectName("List指令列表");
    m_direct->setObjectName("Text直接发送数据");
    m_code->setObjectName("Text模拟指令");
    m_data->setObjectName("Text模拟数据");
    m_pause->setObjectName("Check暂停接收");
    auto* send = new QPushButton("发送", this);
    send->setObjectName("Command直接发送数据");
    auto* simulate = new QPushButton("模拟发送指令", this);
    simulate->setObjectName("Command模拟发送指令");
    auto* clear = new QPushButton("清除", this);
    clear->setObjectName("Command清除");

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_logBox, 0, 0, 1, 5);
    grid->addWidget(m_commands, 0, 5, 4, 1);
    grid->addWidget(m_direct, 1, 0, 1, 4);
    grid->addWidget(send, 1, 4);
    grid->addWidget(new QLabel("指令", this), 2, 0);
    grid->addWidget(m_code, 2, 1);
    grid->addWidget(new QLabel("数据", this), 2, 2);
    grid->addWidget(m_data, 2, 3);
    grid->addWidget(simulate, 2, 4);
    grid->addWidget(m_pause, 3, 0, 1, 2);
    grid->addWidget(clear, 3, 4);
    grid->setColumnStretch(3, 1);
    grid->setColumnMinimumWidth(5, 220);
    grid->setRowStretch(0, 1);

    connect(send, &QPushButton::clicked, this, &DeveloperConsoleWindow::sendDirect);
    connect(simulate, &QPushButton::clicked, this, [this] {
        Fun_模拟发送指令(m_link, m_code->text(), m_data->text());
        Fun_信息_In("");
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        m_log.clear();
        m_logBox->clear();
    });
    connect(m_commands, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        m_direct->setText(commandOfListLine(item->text()));
        sendDirect();
    });
    // A paused log drops what arrives; the Controller's text is not kept for later.
    m_link.setDiagnosticSink([this](const QString& line) {
        if (!m_pause->isChecked()) Fun_信息_In(line);
    });
    applyViewColours(this, appearance);
}

void DeveloperConsoleWindow::Fun_窗体载入() {
    m_link.setDeveloperLogOpen(true);
    m_commands->clear();
    m_commands->addItems(developerCommandList());
}

void DeveloperConsoleWindow::Fun_信息_In(const QString& text) {
    appendLog(text + "\r\n");
}

void DeveloperConsoleWindow::Fun_信息_In_no_enter(const QString& text) {
    appendLog(text);
}

void DeveloperConsoleWindow::appendLog(const QString& text) {
    m_log += text;
    const QString kept = limitLog(m_log);
    QString shown = text;
    shown.remove('\r');
    if (kept.size() != m_log.size()) {
        m_log = kept;
        QString all = m_log;
        m_logBox->setPlainText(all.remove('\r'));
    } else {
        m_logBox->moveCursor(QTextCursor::End);
        m_logBox->insertPlainText(shown);
    }
    m_logBox->moveCursor(QTextCursor::End);
}

void DeveloperConsoleWindow::sendDirect() {
    m_link.sendHexText(m_direct->text());
}

void DeveloperConsoleWindow::closeEvent(QCloseEvent* event) {
    m_link.setDeveloperLogOpen(false);
    QWidget::closeEvent(event);
}

}  // namespace kx
