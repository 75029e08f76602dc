#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include "app/main_window.h"
#include "app/placeholder_view.h"
#include "app/title_bar_view.h"
#include "base/file_io.h"
#include "base/settings.h"
#include "shell/appearance_view.h"
#include "shell/picture_store.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

class TitleBarTest : public test::FakePlatformTest {
  protected:
    AppPaths paths = AppPaths::under(fake.dir.path());

    void SetUp() override {
        fake.onEvents = [] { QCoreApplication::processEvents(); };
    }

    void writeLines(const QString& path, const QStringList& lines) {
        ASSERT_TRUE(writeWholeFile(path, encodeCp936(lines.join("\r\n") + "\r\n")));
    }

    std::unique_ptr<TitleBarView> makeBar() {
        appearance = loadAppearance(paths);
        pictures = PictureStore::load(paths, appearance);
        return std::make_unique<TitleBarView>(paths, appearance, pictures);
    }

    static Bgr back(QAbstractButton* b) { return buttonBackColour(b).value_or(0xDEAD); }

    Appearance appearance;
    PictureStore pictures;
};

TEST_F(TitleBarTest, FunctionButtonsRepaintTheRowAndNavigateBetweenViews) {
    MainWindow window([] {}, fake);
    TitleBarView* bar = makeBar().release();
    window.dockTitleBar(bar);  // the window owns it now
    std::map<int, PlaceholderView*> views;
    for (int i : TitleBarView::kFunctionIndices) {
        views[i] = new PlaceholderView("View" + QString::number(i), QString::number(i));
        window.prepareView(views[i], pictures.backgroundForViews);
    }
    QObject::connect(bar, &TitleBarView::functionChosen, [&](int i) { window.showView(views[i]); });
    QSignalSpy chosen(bar, &TitleBarView::functionChosen);
    window.show();

    for (int index : {3, 5, 1, 6, 4, 4}) {
        QTest::mouseClick(bar->functionButton(index), Qt::LeftButton);
        EXPECT_EQ(chosen.takeFirst().at(0).toInt(), index);
        EXPECT_EQ(window.currentView(), views[index]);
        EXPECT_TRUE(views[index]->isVisible());
        for (int other : TitleBarView::kFunctionIndices) {
            EXPECT_EQ(back(bar->functionButton(other)),
                      other == index ? TitleBarLook::kButtonSelected : TitleBarLook::kButtonNormal);
            if (other != index) {
                EXPECT_FALSE(views[other]->isVisible());
            }
        }
    }
    EXPECT_EQ(buttonTextColour(bar->functionButton(3)), TitleBarLook::kButtonText);
    EXPECT_EQ(bar->functionButton(2), nullptr);
}

TEST_F(TitleBarTest, SaveReadsSavingDuringTheSaveAndSaveAgainAfterwards) {
    auto bar = makeBar();
    QStringList seen;
    QObject::connect(bar.get(), &TitleBarView::saveRequested,
                     [&] { seen << bar->saveButton()->text(); });
    EXPECT_EQ(bar->saveButton()->text(), "保存");
    QTest::mouseClick(bar->saveButton(), Qt::LeftButton);
    EXPECT_EQ(seen, QStringList{"保存中"});
    EXPECT_EQ(bar->saveButton()->text(), "保存中");
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->saveButton()->text() == "保存"; }, 5000));
}

TEST_F(TitleBarTest, ConnectButtonShowsTheLinkStateAndParksTheFocus) {
    auto bar = makeBar();
    bar->show();
    QSignalSpy clicked(bar.get(), &TitleBarView::connectClicked);
    EXPECT_EQ(bar->connectCaption(), "未连接");
    EXPECT_EQ(back(bar->connectButton()), TitleBarLook::kConnectOff);
    QTest::mouseClick(bar->connectButton(), Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    ASSERT_NE(bar->focusWidget(), nullptr);
    EXPECT_EQ(bar->focusWidget()->objectName(), "Command焦点");
    bar->setConnected(true);
    EXPECT_EQ(bar->connectCaption(), "已连接");
    EXPECT_EQ(back(bar->connectButton()), TitleBarLook::kConnectOn);
    bar->setConnected(false);
    EXPECT_EQ(bar->connectCaption(), "未连接");
    EXPECT_EQ(back(bar->connectButton()), TitleBarLook::kConnectOff);
}

TEST_F(TitleBarTest, FullSchemeColoursTheConnectButton) {
    writeLines(paths.picAllColorIni,
               {"标题栏_连接选中颜色=00FF00", "标题栏_连接非选中颜色=0000FF",
                "标题栏_连接字体颜色=FFFFFF", "标题栏_功能按钮背景颜色_非选中=111111"});
    auto bar = makeBar();
    EXPECT_EQ(back(bar->connectButton()), Bgr{0x0000FF});
    EXPECT_EQ(buttonTextColour(bar->connectButton()), Bgr{0xFFFFFF});
    EXPECT_EQ(back(bar->functionButton(1)), Bgr{0x111111});
    EXPECT_EQ(back(bar->saveButton()), Bgr{0x111111});
    bar->setConnected(true);
    EXPECT_EQ(back(bar->connectButton()), Bgr{0x00FF00});
}

TEST_F(TitleBarTest, CountersBroadcastUpgradeAndDeveloperButton) {
    auto bar = makeBar();
    bar->show();
    QSignalSpy dbl(bar.get(), &TitleBarView::countersDoubleClicked);
    QSignalSpy broadcast(bar.get(), &TitleBarView::broadcastModeChanged);
    QSignalSpy upgrade(bar.get(), &TitleBarView::upgradeClicked);
    QSignalSpy developer(bar.get(), &TitleBarView::developerConsoleClicked);

    EXPECT_EQ(bar->countersLabel()->text(), "S:0000   G:0000");
    bar->setCounters(12, 9);
    EXPECT_EQ(bar->countersLabel()->text(), "S:0012   G:0009");
    QTest::mouseDClick(bar->countersLabel(), Qt::LeftButton);
    EXPECT_EQ(dbl.count(), 1);

    QTest::mouseClick(bar->broadcastCheck(), Qt::LeftButton);
    ASSERT_EQ(broadcast.count(), 1);
    EXPECT_TRUE(broadcast.takeFirst().at(0).toBool());
    bar->setBroadcastMode(false);  // set by the program: not reported
    EXPECT_EQ(broadcast.count(), 0);

    QTest::mouseClick(bar->findChild<QPushButton*>("Command升级程序"), Qt::LeftButton);
    EXPECT_EQ(upgrade.count(), 1);
    auto* dev = bar->findChild<QPushButton*>("Command开发模式");
    EXPECT_FALSE(dev->isVisible());
    bar->setDeveloperMode(true);
    EXPECT_TRUE(dev->isVisible());
    QTest::mouseClick(dev, Qt::LeftButton);
    EXPECT_EQ(developer.count(), 1);

    bar->setRelay(3, true);
    EXPECT_TRUE(bar->relayOn(3));
    EXPECT_FALSE(bar->relayOn(4));
    bar->setRelay(10, true);  // no such indicator
    EXPECT_FALSE(bar->relayOn(10));
}

TEST_F(TitleBarTest, LogoFollowsLoSetAndThePictureScheme) {
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::red);
    ASSERT_TRUE(logo.save(paths.picDir + "/P01", "PNG"));

    writeLines(paths.workSet, {"LoSet=0"});
    auto bar = makeBar();
    EXPECT_FALSE(bar->findChild<QLabel*>("Image_logo")->isVisibleTo(bar.get()));

    writeLines(paths.workSet, {"LoSet=1"});
    bar = makeBar();  // no color.ini: the built-in logo
    EXPECT_TRUE(bar->findChild<QLabel*>("Image_logo")->isVisibleTo(bar.get()));

    writeLines(paths.picColorIni, {"功能按钮字体颜色=0000FF"});
    bar = makeBar();
    EXPECT_EQ(pictures.logo.size(), QSize(40, 20));  // the scheme's P01
    EXPECT_TRUE(bar->findChild<QLabel*>("Image_logo")->isVisibleTo(bar.get()));
    EXPECT_EQ(buttonTextColour(bar->functionButton(1)), Bgr{0x0000FF});

    writeLines(paths.picColorIni, {"logo=隐藏"});
    bar = makeBar();
    EXPECT_FALSE(bar->findChild<QLabel*>("Image_logo")->isVisibleTo(bar.get()));
}

}  // namespace
}  // namespace kx
