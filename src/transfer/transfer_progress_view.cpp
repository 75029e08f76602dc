#include "transfer/transfer_progress_view.h"

#include <QHBoxLayout>

namespace kx {

TransferProgressView::TransferProgressView(FileTransfer& transfer, QWidget* parent)
    : QWidget(parent),
      Progress传输(new QProgressBar(this)),
      Label传输进度(new QLabel(this)),
      m_transfer(transfer) {
    setObjectName("TransferProgressView");
    Progress传输->setObjectName("Progress传输");
    Label传输进度->setObjectName("Label传输进度");
    Progress传输->setRange(0, 100);
    Progress传输->setValue(0);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Progress传输, 1);
    layout->addWidget(Label传输进度, 2);
    m_observer = m_transfer.addProgressObserver([this](const TransferProgress& p) { show(p); });
}

TransferProgressView::~TransferProgressView() {
    m_transfer.removeProgressObserver(m_observer);
}

void TransferProgressView::show(const TransferProgress& p) {
    const int percent = progressPercent(p);
    const bool moved = percent != Progress传输->value() || p.stage != m_shownStage;
    Progress传输->setValue(percent);
    Label传输进度->setText(progressText(p));
    m_shownStage = p.stage;
    // The transfer keeps the interface thread busy: paint now, as the log does, but only when
    // the bar moves, not for each of a thousand blocks.
    if (!moved) return;
    Progress传输->repaint();
    Label传输进度->repaint();
}

}  // namespace kx
