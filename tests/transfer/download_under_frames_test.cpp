#include <gtest/gtest.h>

#include <QTimer>

#include "app/loop_driver.h"
#include "app/process_core.h"
#include "transfer/transfer_fixture.h"

namespace kx {
namespace {

constexpr int kStreamingView = 7;

// The program's situation during a download: the loop driver runs its tiers from the event loop
// and a streaming view is in front, so output ticks send frame sets inside the transfer's waits.
// A download over loopback takes only tens of milliseconds, so besides the 100 ms tier an extra
// tick every 5 ms makes frame sets fall inside the waits of every run.
class DownloadUnderFramesTest : public test::TransferFixture {
  protected:
    void SetUp() override {
        TransferFixture::SetUp();
        core.tiers.liveOutput = [this] { link->outputTick(); };
        driver = std::make_unique<LoopDriver>(core, platform);
        driver->start();
        connectLink();
        link->live().defineView(kStreamingView, {[](DmxFrame& frame) {
                                                     for (std::size_t i = 1; i < frame.size(); ++i)
                                                         frame[i] = pattern(i);
                                                 },
                                                 true});
        link->setView(kStreamingView);
        extraTicks.setTimerType(Qt::PreciseTimer);
        QObject::connect(&extraTicks, &QTimer::timeout, [this] { link->outputTick(); });
        extraTicks.start(5);
    }

    static std::uint8_t pattern(std::size_t i) { return static_cast<std::uint8_t>(i * 7 + 1); }

    static QByteArray plannedStart(const QByteArray& file) {
        const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(file.constData()),
                                     static_cast<std::size_t>(file.size()));
        const auto args = startArguments(static_cast<std::uint32_t>(bytes.size()),
                                         additiveChecksum(bytes), FileType::Show);
        QByteArray body(1, static_cast<char>(cmd::kDownloadStart));
        body.append(reinterpret_cast<const char*>(args.data()), args.size());
        return body;
    }

    ProcessCore core;
    std::unique_ptr<LoopDriver> driver;
    QTimer extraTicks;
};

TEST_F(DownloadUnderFramesTest, EveryDownloadArrivesWholeWhileFramesStream) {
    constexpr int kRuns = 20;
    const QByteArray file = sampleFile(853 * 1024, 42);
    const QString path = writeToolFile("S7420.K74", file);
    const std::size_t framesBefore = sim->frameTimesNs(cmd::kDmxPortsAB).size();

    for (int run = 0; run < kRuns; ++run) {
        TextLog runLog;
        transfer->downloadFile(FileType::Show, path, runLog);
        ASSERT_EQ(transfer->transferSucceeded(), 1) << "run " << run << "\n"
                                                    << runLog.text().right(300).toStdString();
    }

    EXPECT_EQ(sim->transfer().blocksRefused(), 0);
    const auto starts = sim->commands(cmd::kDownloadStart);
    ASSERT_EQ(starts.size(), static_cast<std::size_t>(kRuns));
    for (const kxsim::SimRecord& r : starts)
        EXPECT_EQ(r.body.toHex(), plannedStart(file).toHex());
    EXPECT_EQ(storedOnController(FileType::Show), file);

    // The frames did run during the downloads, and each was whole: the composer's pattern.
    EXPECT_GT(sim->frameTimesNs(cmd::kDmxPortsAB).size(), framesBefore + 5 * kRuns);
    const QByteArray ab = sim->lastFrame(cmd::kDmxPortsAB);
    ASSERT_EQ(ab.size(), kDmxPairArguments);
    for (int i = 0; i < kDmxPairArguments; ++i)
        ASSERT_EQ(static_cast<std::uint8_t>(ab[i]), pattern(static_cast<std::size_t>(i) + 1)) << i;
}

}  // namespace
}  // namespace kx
