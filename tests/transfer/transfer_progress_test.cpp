#include <gtest/gtest.h>

#include "transfer/transfer_fixture.h"
#include "transfer/transfer_progress.h"

namespace kx::test {
namespace {

TEST(TransferProgressText, PercentRemainingAndLine) {
    TransferProgress p;
    EXPECT_EQ(progressText(p), "");
    p = {TransferStage::Sending, 10, 40, 10240, 40960, 1000};
    EXPECT_EQ(progressPercent(p), 25);
    EXPECT_EQ(progressRemainingMs(p), 3000);
    EXPECT_EQ(progressText(p), "发送  10/40 块  10.0K/40.0K  已用 1.0 s  剩余 3.0 s");
    p = {TransferStage::Verifying, 40, 40, 40960, 40960, 4100};
    EXPECT_EQ(progressPercent(p), 99);  // all out, not yet verified
    EXPECT_EQ(progressText(p), "校验  40/40 块  40.0K/40.0K  已用 4.1 s");
    p.stage = TransferStage::Done;
    EXPECT_EQ(progressPercent(p), 100);
    p = {TransferStage::Failed, 3, 40, 3072, 40960, 900};
    EXPECT_EQ(progressPercent(p), 7);
    EXPECT_EQ(progressText(p).left(2), "失败");
    EXPECT_EQ(progressPercent({TransferStage::Packing, 0, 0, 0, 0, 0}), 0);
}

class TransferProgressTest : public TransferFixture {};

TEST_F(TransferProgressTest, DownloadReportsEveryStageAndBlock) {
    connectLink();
    std::vector<TransferProgress> seen;
    transfer->addProgressObserver([&](const TransferProgress& p) { seen.push_back(p); });
    const QByteArray file = sampleFile(20000, 3);
    transfer->downloadFile(FileType::Show, writeToolFile("S7420.K74", file), log);
    ASSERT_EQ(transfer->transferSucceeded(), 1);
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen.front().stage, TransferStage::Packing);
    EXPECT_EQ(seen.back().stage, TransferStage::Done);
    EXPECT_EQ(seen[seen.size() - 2].stage, TransferStage::Verifying);
    const int blocks = seen.back().blocksTotal;
    EXPECT_EQ(blocks, sim->transfer().blocksAccepted());
    int sendingReports = 0;
    for (std::size_t i = 1; i < seen.size(); ++i) {
        EXPECT_GE(seen[i].bytesSent, seen[i - 1].bytesSent);
        if (seen[i].stage == TransferStage::Sending && seen[i].blocksSent > 0) ++sendingReports;
    }
    EXPECT_EQ(sendingReports, blocks);
    EXPECT_EQ(seen.back().bytesSent, static_cast<std::uint64_t>(file.size()));

    // A Controller that stops answering: the stage is Failed where the blocks stopped.
    seen.clear();
    sim->faults().dropCodes = {0xD1, 0xD8};
    transfer->downloadFile(FileType::Show, writeToolFile("S7420.K74", file), log);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().stage, TransferStage::Failed);
    EXPECT_EQ(seen.back().blocksSent, 0);
    EXPECT_LT(progressPercent(seen.back()), 100);
}

}  // namespace
}  // namespace kx::test
