#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "app/title_bar_link.h"
#include "app/title_bar_view.h"
#include "link/link_fixture.h"
#include "shell/picture_store.h"

namespace kx {
namespace {

// The real title bar wired to a link that talks to the simulated Controller on loopback.
class TitleBarLinkTest : public test::LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        paths = AppPaths::under(dir.path());
        pictures = PictureStore::load(paths, appearance);
        bar = std::make_unique<TitleBarView>(paths, appearance, pictures);
        connectTitleBarToLink(*bar, *link);
    }

    QTemporaryDir dir;
    AppPaths paths;
    Appearance appearance;
    PictureStore pictures;
    std::unique_ptr<TitleBarView> bar;
};

TEST_F(TitleBarLinkTest, ConnectButtonConnectsToTheControllerAndShowsIt) {
    EXPECT_EQ(bar->connectCaption(), "未连接");
    QTest::mouseClick(bar->connectButton(), Qt::LeftButton);
    EXPECT_TRUE(link->connected());
    EXPECT_EQ(bar->connectCaption(), "已连接");
    EXPECT_TRUE(bar->connectButton()->isEnabled());
    // One 0xC0 went out and its answer came back: both counters moved.
    EXPECT_EQ(bar->countersLabel()->text(), "S:0001   G:0001");

    QTest::mouseClick(bar->connectButton(), Qt::LeftButton);
    EXPECT_FALSE(link->connected());
    EXPECT_EQ(bar->connectCaption(), "未连接");
    ASSERT_TRUE(simReceived(2));
    EXPECT_EQ(sim->records().back().body, test::bytesOf({0xC4}));
    EXPECT_EQ(bar->countersLabel()->text(), "S:0002   G:0001");
}

TEST_F(TitleBarLinkTest, NoControllerLeavesTheButtonNotConnected) {
    sim.reset();
    QTest::mouseClick(bar->connectButton(), Qt::LeftButton);
    EXPECT_FALSE(link->connected());
    EXPECT_EQ(bar->connectCaption(), "未连接");
    EXPECT_TRUE(bar->connectButton()->isEnabled());
}

TEST_F(TitleBarLinkTest, TickingBroadcastModeAnnouncesAtOnce) {
    bar->broadcastCheck()->click();
    ASSERT_TRUE(simReceived(1));
    EXPECT_EQ(sim->records().back().body, test::bytesOf({0xCE, 0x13, 0x89}));
    EXPECT_TRUE(link->broadcastMode());
}

}  // namespace
}  // namespace kx
