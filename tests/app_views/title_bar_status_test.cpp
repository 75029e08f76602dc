#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTest>

#include "app/title_bar_status.h"
#include "show_editors_fixture.h"
#include "transfer/file_transfer.h"
#include "transfer/transfer_log.h"

namespace kx {
namespace {

struct TextLog : LogBox {
    void clear() override { text_.clear(); }
    void append(const QString& text) override { text_ += text; }
    QString text() const override { return text_; }
    QString text_;
};

// The title bar's status line as the program wires it: a save confirmed with its file, a
// transfer asked for without the connection, a private port another program holds.
class TitleBarStatusTest : public test::ShowEditorsFixture {
  protected:
    void SetUp() override {
        ShowEditorsFixture::SetUp();
        install({});
        transfer = std::make_unique<FileTransfer>(*link);
        file = std::make_unique<ShowFile>(makeShowFile(show, images, paths, {platform, platform}));
        wireStatusLine(bar(), *link, *transfer, *file, platform);
    }
    TitleBarView& bar() { return shell->titleBar(); }
    QString status() { return bar().findChild<QLabel*>("Label状态")->toolTip(); }

    std::unique_ptr<FileTransfer> transfer;
    std::unique_ptr<ShowFile> file;
};

TEST_F(TitleBarStatusTest, ASaveIsConfirmedWithItsFile) {
    EXPECT_EQ(bar().statusText(), "");
    QTest::mouseClick(bar().saveButton(), Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(paths.showFile));
    EXPECT_TRUE(bar().statusText().endsWith("  已保存 " + QDir::toNativeSeparators(paths.showFile)))
        << bar().statusText().toStdString();
    EXPECT_EQ(status(), bar().statusText());
}

TEST_F(TitleBarStatusTest, ATransferWithoutTheConnectionAsksForIt) {
    TextLog log;
    EXPECT_FALSE(transfer->checkConnectedForTransfer(log));
    EXPECT_EQ(log.text(), "未连接");
    EXPECT_TRUE(bar().statusText().endsWith("  请先连接控制器"));
    connectLink();
    log.clear();
    const QString before = bar().statusText();
    EXPECT_TRUE(transfer->checkConnectedForTransfer(log));
    EXPECT_EQ(bar().statusText(), before);
}

TEST_F(TitleBarStatusTest, APrivatePortAlreadyHeldIsShown) {
    EXPECT_TRUE(link->socketProblem().isEmpty());
    // A second link on the first one's private port: the port cannot be bound.
    LinkConfig taken = link->config();
    taken.privatePort = privatePort();
    ControllerLink second(taken, Waiter{platform, platform}, platform);
    const QString expected = QString("私有端口 %1 无法绑定").arg(privatePort());
    ASSERT_TRUE(second.socketProblem().startsWith(expected))
        << second.socketProblem().toStdString();
    FileTransfer secondTransfer(second);
    wireStatusLine(bar(), second, secondTransfer, *file, platform);
    EXPECT_TRUE(bar().statusText().contains(expected));
}

}  // namespace
}  // namespace kx
