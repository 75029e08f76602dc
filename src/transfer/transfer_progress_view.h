#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QWidget>

#include "transfer/file_transfer.h"

namespace kx {

// The bar and the line beside a transfer window's log: blocks, bytes, elapsed and remaining time
// and the stage, following every transfer of the given FileTransfer while the view lives.
class TransferProgressView : public QWidget {
    Q_OBJECT
  public:
    explicit TransferProgressView(FileTransfer& transfer, QWidget* parent = nullptr);
    ~TransferProgressView() override;

    void show(const TransferProgress& p);

    QProgressBar* Progress传输;
    QLabel* Label传输进度;

  private:
    FileTransfer& m_transfer;
    int m_observer = 0;
    TransferStage m_shownStage = TransferStage::Idle;
};

}  // namespace kx
