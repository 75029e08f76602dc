#pragma once

#include <QString>
#include <cstdint>

namespace kx {

// Where a transfer is: a download packs the whole file into blocks first, sends them, then asks
// the Controller to verify; an upload only sends. Done means verified (download) or written
// (upload); Failed keeps the counts where it stopped.
enum class TransferStage { Idle, Packing, Sending, Verifying, Done, Failed };

struct TransferProgress {
    TransferStage stage = TransferStage::Idle;
    int blocksSent = 0;
    int blocksTotal = 0;
    std::uint64_t bytesSent = 0;
    std::uint64_t bytesTotal = 0;
    std::uint32_t elapsedMs = 0;
};

// 0-100 for the bar: 100 only when Done; a transfer whose bytes are all out but not yet verified
// reads 99.
int progressPercent(const TransferProgress& p);
// Milliseconds still to go, from the pace so far; -1 while it cannot be told.
std::int64_t progressRemainingMs(const TransferProgress& p);
// The stage's caption: "打包", "发送", "校验", "完成", "失败", "" when idle.
QString stageText(TransferStage stage);
// One line beside the bar: "发送  12/40 块  12.0K/40.0K  已用 1.2 s  剩余 2.5 s".
QString progressText(const TransferProgress& p);

}  // namespace kx
