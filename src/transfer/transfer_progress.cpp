#include "transfer/transfer_progress.h"

#include <algorithm>

#include "transfer/transfer_format.h"

namespace kx {

namespace {

QString secondsText(std::int64_t ms) {
    return QString::number(static_cast<double>(ms) / 1000.0, 'f', 1) + " s";
}

}  // namespace

int progressPercent(const TransferProgress& p) {
    if (p.stage == TransferStage::Done) return 100;
    if (p.bytesTotal == 0) return 0;
    const auto share = static_cast<int>(p.bytesSent * 100 / p.bytesTotal);
    return std::clamp(share, 0, 99);
}

std::int64_t progressRemainingMs(const TransferProgress& p) {
    if (p.stage != TransferStage::Sending || p.bytesSent == 0 || p.bytesTotal < p.bytesSent)
        return -1;
    const std::uint64_t left = p.bytesTotal - p.bytesSent;
    return static_cast<std::int64_t>(left * p.elapsedMs / p.bytesSent);
}

QString stageText(TransferStage stage) {
    switch (stage) {
        case TransferStage::Packing:
            return QStringLiteral("打包");
        case TransferStage::Sending:
            return QStringLiteral("发送");
        case TransferStage::Verifying:
            return QStringLiteral("校验");
        case TransferStage::Done:
            return QStringLiteral("完成");
        case TransferStage::Failed:
            return QStringLiteral("失败");
        case TransferStage::Idle:
            break;
    }
    return {};
}

QString progressText(const TransferProgress& p) {
    if (p.stage == TransferStage::Idle) return {};
    QString text = stageText(p.stage) +
                   QStringLiteral("  %1/%2 块  %3K/%4K  已用 ")
                       .arg(p.blocksSent)
                       .arg(p.blocksTotal)
                       .arg(kilobytesText(p.bytesSent))
                       .arg(kilobytesText(p.bytesTotal)) +
                   secondsText(p.elapsedMs);
    const std::int64_t left = progressRemainingMs(p);
    if (left >= 0) text += QStringLiteral("  剩余 ") + secondsText(left);
    return text;
}

}  // namespace kx
