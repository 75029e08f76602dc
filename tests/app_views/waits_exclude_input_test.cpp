#include <gtest/gtest.h>

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/qt_platform.h"
#include "app/title_bar_link.h"
#include "app/title_bar_view.h"
#include "base/common.h"
#include "controller_sim.h"
#include "link/controller_link.h"
#include "shell/picture_store.h"
#include "transfer/file_transfer.h"
#include "transfer/transfer_fixture.h"

namespace kx {
namespace {

// A log that runs a step once the nth block mark has been written: the step then runs in the
// transfer's next wait, as a click or a timer would.
class SteppingLog : public TextLog {
  public:
    void append(const QString& text) override {
        TextLog::append(text);
        if (text == transfer_log::kBlockDone && ++m_blocks == atBlock && step)
            QTimer::singleShot(0, step);
    }
    int atBlock = 20;
    std::function<void()> step;

  private:
    int m_blocks = 0;
};

// The program's own platform (its waits are the ones under test), the real title bar and a link
// to the simulated Controller on loopback.
class WaitsExcludeInputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        kxsim::SimConfig sc;
        sc.port = 0;
        sc.folder = controllerFiles.path();
        sim = std::make_unique<kxsim::ControllerSim>(sc);
        ASSERT_TRUE(sim->start());
        link = std::make_unique<ControllerLink>(test::TransferFixture::loopbackConfig(sim->port()),
                                                Waiter{qtPlatform, qtPlatform}, qtPlatform);
        transfer = std::make_unique<FileTransfer>(*link);

        paths = AppPaths::under(dir.path());
        pictures = PictureStore::load(paths, appearance);
        bar = std::make_unique<TitleBarView>(paths, appearance, pictures);
        connectTitleBarToLink(*bar, *link);
        transfer->addRunningObserver([this](bool running) { bar->setTransferRunning(running); });
        bar->show();

        QTest::mouseClick(bar->connectButton(), Qt::LeftButton);
        ASSERT_TRUE(link->connected());
        file = QByteArray(300 * 1024, '\x5A');
        path = dir.filePath("S7420.K74");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(file);
    }

    QTemporaryDir dir;
    QtPlatform qtPlatform{dir.path()};
    QTemporaryDir controllerFiles;
    std::unique_ptr<kxsim::ControllerSim> sim;
    std::unique_ptr<ControllerLink> link;
    std::unique_ptr<FileTransfer> transfer;
    AppPaths paths;
    Appearance appearance;
    PictureStore pictures;
    std::unique_ptr<TitleBarView> bar;
    QByteArray file;
    QString path;
};

TEST_F(WaitsExcludeInputTest, TheTitleBarIsDisabledDuringADownloadAndASecondTransferIsRefused) {
    QString secondLog;
    bool runningSeen = false;
    bool barDisabled = false;
    SteppingLog log;
    log.step = [&] {
        runningSeen = qtPlatform.waiting() && transfer->running();
        barDisabled = !bar->functionButton(6)->isEnabled() && !bar->connectButton()->isEnabled() &&
                      !bar->broadcastCheck()->isEnabled();
        // A second transfer asked for in the middle of the first.
        TextLog second;
        transfer->uploadFile(FileType::WallPanel, dir.filePath("QB.KQB"), second);
        transfer->downloadFile(FileType::Show, path, second);
        secondLog = second.text();
    };

    transfer->downloadFile(FileType::Show, path, log);

    EXPECT_TRUE(runningSeen);
    EXPECT_TRUE(barDisabled);
    EXPECT_EQ(secondLog, "->正在传输\r\n->正在传输\r\n");
    EXPECT_EQ(transfer->transferSucceeded(), 1);
    EXPECT_EQ(sim->commandCount(cmd::kDownloadStart), 1);
    EXPECT_EQ(sim->commandCount(cmd::kUploadInfo), 0);
    QFile stored(sim->transfer().pathOf(static_cast<int>(FileType::Show)));
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), file);

    // Afterwards the title bar is back.
    EXPECT_FALSE(transfer->running());
    EXPECT_FALSE(qtPlatform.waiting());
    EXPECT_TRUE(bar->functionButton(6)->isEnabled());
    EXPECT_TRUE(bar->connectButton()->isEnabled());
}

TEST_F(WaitsExcludeInputTest, AFailedTransferGivesTheTitleBarBackToo) {
    sim->faults().dropShare = 1.0;  // the Controller answers nothing
    TextLog log;
    transfer->downloadFile(FileType::Show, path, log);
    EXPECT_EQ(transfer->transferSucceeded(), 0);
    EXPECT_TRUE(log.text().endsWith("->握手失败\r\n"));
    EXPECT_TRUE(bar->functionButton(6)->isEnabled());
    EXPECT_TRUE(bar->connectButton()->isEnabled());
    EXPECT_FALSE(bar->transferRunning());
}

TEST_F(WaitsExcludeInputTest, AMessageShownInsideAWaitStillTakesItsClicks) {
    // A dialog a handler opens during a wait is the user's to answer.
    bool answered = false;
    QTimer::singleShot(0, [&] {
        QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Yes | QMessageBox::No);
        QTimer::singleShot(
            0, [&box] { QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton); });
        answered = box.exec() == QMessageBox::Yes;
    });
    Fun_Wait({qtPlatform, qtPlatform}, 50);
    EXPECT_TRUE(answered);
}

}  // namespace
}  // namespace kx
