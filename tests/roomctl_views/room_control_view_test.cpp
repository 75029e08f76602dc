#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "base/file_io.h"
#include "roomctl/room_control_view.h"
#include "shell/appearance_view.h"
#include "show/effect_images.h"
#include "show/show.h"
#include "support/fake_platform.h"
#include "support/widget_lookup.h"

namespace kx {
namespace {

// The editor's view on a whole show, clicked and typed into as the technician does.
class RoomControlViewTest : public test::FakePlatformTest {
  protected:
    void SetUp() override {
        show.scenes.at(3).name = "生日";
        RoomControlLink link;
        link.connected = [] { return false; };
        link.inFront = [] { return true; };
        link.sendControl = [](std::span<const std::uint8_t>) {};
        link.vjServerChanged = [this](std::uint8_t s) { servers.push_back(s); };
        view = std::make_unique<RoomControlView>(
            show.room, show.thresholds, show.scenes,
            RoomControlView::Services{appearance,
                                      {fake, fake},
                                      file,
                                      std::move(link),
                                      [](QWidget* v) { v->show(); },
                                      [this] { ++notesOpened; },
                                      [this] { ++airConOpened; }});
        view->resize(1280, 681);
        view->Fun_窗体载入();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    template <typename T>
    T* find(const QString& name) {
        return test::named<T>(view.get(), name);
    }
    void click(const QString& name) { test::clickNamed(view.get(), name); }
    // Opens the list and clicks its entry.
    static void choose(QComboBox* combo, int index) {
        combo->showPopup();
        QAbstractItemView* popup = combo->view();
        const QModelIndex item = popup->model()->index(index, 0);
        popup->scrollTo(item);
        QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, popup->visualRect(item).center());
        ASSERT_EQ(combo->currentIndex(), index) << combo->objectName().toStdString();
    }
    void choose(RoomList l, int index) { choose(view->list(l), index); }
    // Types at the caret (QTest's own typing takes ASCII only).
    static void type(QLineEdit* box, const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &press);
        }
    }
    // Replaces a box's text by typing over it.
    static void retype(QLineEdit* box, const QString& text) {
        box->selectAll();
        type(box, text);
    }
    static Bgr backOf(const QLineEdit* box) { return toBgr(box->palette().color(QPalette::Base)); }

    // Every control away from the defaults, as the technician sets it.
    void editEverything() {
        choose(RoomList::StartupScene, 3);
        for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9})
            QTest::mouseClick(view->check(i), Qt::LeftButton, {}, QPoint(6, 12));
        choose(RoomList::AirCon, 2);
        choose(RoomList::MicShake, 19);
        QTest::mouseClick(view->relayOption(2), Qt::LeftButton, {}, QPoint(6, 12));
        choose(RoomList::Smoke, 6);
        choose(RoomList::CheerBoo, 2);
        choose(RoomList::DenseDrum, 10);
        choose(RoomList::DjMode, 2);
        choose(RoomList::DjAudioSource, 6);
        choose(RoomList::DjScene, 32);
        choose(RoomList::VjServer, 2);
        choose(RoomList::AudioFollow, 3);
        choose(RoomList::SceneXYLimit, 10);
        choose(RoomList::XyDefaultLimit, 127);
        for (int key = 1; key <= kEffectorKeysOffered; ++key)
            retype(
                view->codeBox(key),
                QStringLiteral("%1 22 33 %2").arg(key, 2, 10, QChar('0')).arg(0xE0 + key, 2, 16));
    }

    static RoomControl everythingEdited() {
        RoomControl r;
        r.startupScene = 3;
        r.fan1OnAtStartup = 1;
        r.fan1ChannelReuseOff = 1;  // the tick was taken off: channel 9 no longer fan 1
        r.fan2OnAtStartup = 1;
        r.fan2ChannelReuse = 1;
        r.acAtStartup = 2;
        r.acFanChannelReuse = 1;
        r.valveOpenChannelReuse = 1;
        r.valveCloseChannelReuse = 1;
        r.micShakeSeconds = 20;
        r.sceneRelaySource = 1;
        r.smokeSeconds = 15;
        r.cheerBooSeconds = 4;
        r.denseDrumCount = 15;
        r.djMode = 2;
        r.djAudioSource = 6;
        r.djScene = 32;
        r.vjServer = 2;
        r.audioFollowMode = 3;
        r.sceneXYLimit = 10;
        r.vodPauseNoPauseScene = 1;
        r.dmxPauseOnVodPause = 1;
        r.doorLightOff = 1;
        for (int key = 1; key <= kEffectorKeysOffered; ++key) {
            // The key's decimal digits typed as hex.
            r.effectorCodes[key - 1] = {static_cast<std::uint8_t>((key / 10) * 16 + key % 10), 0x22,
                                        0x33, static_cast<std::uint8_t>(0xE0 + key)};
        }
        return r;
    }

    Appearance appearance;
    AppPaths paths = AppPaths::under(fake.programDir());
    Show show;
    EffectImages images{show, paths};
    ShowFile file = makeShowFile(show, images, paths, {fake, fake},
                                 {[this] { view->Fun_所有控件数据刷新(); }, {}, {}});
    std::unique_ptr<RoomControlView> view;
    std::vector<std::uint8_t> servers;
    int notesOpened = 0;
    int airConOpened = 0;
};

TEST_F(RoomControlViewTest, EveryControlStoresItsFieldAtOnce) {
    // The pristine record as shown.
    EXPECT_EQ(view->list(RoomList::StartupScene)->currentText(), "无");
    EXPECT_EQ(view->list(RoomList::StartupScene)->itemText(3), "3-生日");
    EXPECT_EQ(view->list(RoomList::MicShake)->currentText(), "1秒");
    EXPECT_EQ(view->list(RoomList::DenseDrum)->currentText(), "7");
    EXPECT_EQ(view->list(RoomList::SceneXYLimit)->currentText(), "2");
    EXPECT_EQ(view->list(RoomList::XyDefaultLimit)->currentText(), "50");
    EXPECT_EQ(view->list(RoomList::VjServer)->currentText(), "00 - 无");
    EXPECT_TRUE(find<QCheckBox>("Check开启排风1通道复用")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("Check开机排风1")->isChecked());
    EXPECT_TRUE(view->relayOption(1)->isChecked());
    EXPECT_EQ(find<QLabel>("Label效果器红外14")->text(), "音源1");

    editEverything();
    EXPECT_EQ(show.room, everythingEdited());
    EXPECT_EQ(show.thresholds.xyDefaultLimit, 127);
    EXPECT_EQ(servers, (std::vector<std::uint8_t>{2}));
    EXPECT_EQ(view->list(RoomList::MicShake)->currentText(), "20秒");
    EXPECT_EQ(view->list(RoomList::VjServer)->currentText(), "02 - MarloVJ服务器");

    // The record as another show holds it is shown whole by the refresh.
    show.room = RoomControl{};
    show.room.startupScene = 3;
    show.room.fan1ChannelReuseOff = 1;
    show.room.effectorCodes[0] = {0xAB, 0, 0, 1};
    view->Fun_所有控件数据刷新();
    EXPECT_EQ(view->list(RoomList::StartupScene)->currentText(), "3-生日");
    EXPECT_FALSE(find<QCheckBox>("Check开启排风1通道复用")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("Check关闭多色门牌灯")->isChecked());
    EXPECT_TRUE(view->relayOption(1)->isChecked());
    EXPECT_EQ(view->codeBox(1)->text(), "AB 00 00 01 ");
    EXPECT_EQ(view->codeBox(2)->text(), "");
    // A remark changed in the scene editor shows in both Scene lists on the next entry.
    show.scenes.at(3).name = "派对";
    view->Fun_窗体载入();
    EXPECT_EQ(view->list(RoomList::StartupScene)->currentText(), "3-派对");
    EXPECT_EQ(view->list(RoomList::DjScene)->itemText(3), "3-派对");
}

TEST_F(RoomControlViewTest, EditedShowSavesLoadsAndSavesTheSameBytes) {
    editEverything();
    ASSERT_TRUE(file.saveShow(fake));
    const QByteArray first = readWholeFile(paths.showFile).value();
    show = Show{};
    view->Fun_所有控件数据刷新();
    ASSERT_EQ(file.loadShow(fake), LoadResult::Loaded);
    EXPECT_EQ(show.room, everythingEdited());
    EXPECT_EQ(show.thresholds.xyDefaultLimit, 127);
    // The refresh after the load shows what was edited.
    EXPECT_EQ(view->list(RoomList::DjScene)->currentText(), "32-全关");
    EXPECT_EQ(view->list(RoomList::XyDefaultLimit)->currentText(), "127");
    EXPECT_EQ(view->codeBox(17)->text(), "17 22 33 F1 ");
    ASSERT_TRUE(file.saveShow(fake));
    EXPECT_EQ(readWholeFile(paths.showFile).value(), first);
}

TEST_F(RoomControlViewTest, CodeBoxesTakeEightHexDigitsAndShowWhatTheyRefuse) {
    QLineEdit* box = view->codeBox(5);
    EXPECT_EQ(box->objectName(), "Text效果器红外5");
    EXPECT_EQ(backOf(box), 0xD0D0D0u);
    retype(box, "11 22 33 44");
    EXPECT_EQ(show.room.effectorCodes[4], (EffectorCode{0x11, 0x22, 0x33, 0x44}));
    EXPECT_EQ(backOf(box), 0xD0D0D0u);
    // Edited in place: a digit too many, two too few, a letter that is no hex digit.
    const auto refusedAfter = [&](const std::function<void()>& edit, const QString& shown) {
        edit();
        EXPECT_EQ(box->text(), shown);
        EXPECT_EQ(show.room.effectorCodes[4], (EffectorCode{0x11, 0x22, 0x33, 0x44}));
        EXPECT_EQ(backOf(box), 0xC0C0FFu);
    };
    box->end(false);
    refusedAfter([&] { type(box, "5"); }, "11 22 33 445");
    refusedAfter(
        [&] {
            QTest::keyClick(box, Qt::Key_Backspace);
            QTest::keyClick(box, Qt::Key_Backspace);
        },
        "11 22 33 4");
    refusedAfter([&] { type(box, "x"); }, "11 22 33 4x");
    // Emptied: no code, and an empty box after the refresh.
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(show.room.effectorCodes[4], EffectorCode{});
    EXPECT_EQ(backOf(box), 0xD0D0D0u);
    retype(view->codeBox(6), "1");
    view->Fun_所有控件数据刷新();
    EXPECT_EQ(box->text(), "");
    EXPECT_EQ(view->codeBox(6)->text(), "");
    EXPECT_EQ(backOf(view->codeBox(6)), 0xD0D0D0u);
}

TEST_F(RoomControlViewTest, FixedListsIgnoreTypingAndKeepValuesTheyDoNotOffer) {
    const RoomControl before = show.room;
    for (RoomList l : {RoomList::SceneXYLimit, RoomList::DenseDrum, RoomList::StartupScene}) {
        QComboBox* c = view->list(l);
        EXPECT_FALSE(c->isEditable());
        const int index = c->currentIndex();
        c->setFocus();
        QTest::keyClicks(c, "9");
        QTest::keyClicks(c, "1");
        EXPECT_EQ(c->currentIndex(), index) << c->objectName().toStdString();
    }
    EXPECT_EQ(show.room, before);

    // A file's value no entry offers is shown as its number and kept.
    show.room.smokeSeconds = 3;
    show.thresholds.xyDefaultLimit = 200;
    view->Fun_所有控件数据刷新();
    EXPECT_EQ(view->list(RoomList::Smoke)->currentIndex(), -1);
    EXPECT_EQ(view->list(RoomList::Smoke)->placeholderText(), "3");
    EXPECT_EQ(view->list(RoomList::XyDefaultLimit)->placeholderText(), "200");
    EXPECT_EQ(show.room.smokeSeconds, 3);
    choose(RoomList::Smoke, 1);
    EXPECT_EQ(show.room.smokeSeconds, 2);
    EXPECT_EQ(view->list(RoomList::Smoke)->placeholderText(), "");
}

TEST_F(RoomControlViewTest, FocusedKeyLabelTakesTheFocusColour) {
    QApplication::setActiveWindow(view.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    const auto labelColour = [this](int key) {
        return toBgr(view->codeLabel(key)->palette().color(QPalette::WindowText));
    };
    EXPECT_EQ(labelColour(9), 0x00FFFFu);
    view->codeBox(9)->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(view->editor().state().focusedKey, 9);
    EXPECT_EQ(labelColour(9), 0xFFFF00u);
    EXPECT_TRUE(view->editor().focusTimer().isActive());
    view->codeBox(10)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(view->editor().state().focusedKey, 10);
    EXPECT_EQ(labelColour(9), 0x00FFFFu);
    EXPECT_EQ(labelColour(10), 0xFFFF00u);
    view->list(RoomList::AirCon)->setFocus();
    EXPECT_EQ(view->editor().state().focusedKey, 0);
    EXPECT_EQ(labelColour(10), 0x00FFFFu);
}

TEST_F(RoomControlViewTest, ShowFileButtonsRunTheirOperationsAndRefreshTheEditor) {
    // A show of its own, kept elsewhere, to open.
    show.room.startupScene = 5;
    show.room.effectorCodes[0] = {1, 2, 3, 4};
    ASSERT_TRUE(file.saveShow(fake));
    const QString other = fake.programDir() + "/other.K74";
    ASSERT_TRUE(writeWholeFile(other, readWholeFile(paths.showFile).value()));
    show.room = RoomControl{};
    view->Fun_所有控件数据刷新();

    fake.dialogAnswers.push_back(other);
    click("Command打开文件");
    EXPECT_EQ(show.room.startupScene, 5);
    EXPECT_EQ(view->list(RoomList::StartupScene)->currentText(), "5-");
    EXPECT_EQ(view->codeBox(1)->text(), "01 02 03 04 ");

    const QString copy = fake.programDir() + "/copy.K74";
    fake.dialogAnswers.push_back(copy);
    click("Command文件另存为");
    EXPECT_EQ(readWholeFile(copy).value(), readWholeFile(paths.showFile).value());

    click("Command建立新文件");  // answered No
    EXPECT_EQ(show.room.startupScene, 5);
    fake.yesNoAnswers.push_back(true);
    click("Command建立新文件");
    EXPECT_EQ(fake.questions.last(), "要删除当前灯光文件并建立空白灯光文件吗？");
    EXPECT_EQ(fake.messages.last(), "操作成功！");
    EXPECT_EQ(show.room, RoomControl{});
    EXPECT_EQ(view->list(RoomList::StartupScene)->currentText(), "无");
    EXPECT_EQ(view->codeBox(1)->text(), "");

    click("Command版本说明");
    click("Command进入红外空调界面");
    EXPECT_EQ(notesOpened, 1);
    EXPECT_EQ(airConOpened, 1);
    EXPECT_EQ(find<QPushButton>("Command进入红外空调界面")->text(), "红外空调学习界面");
}

}  // namespace
}  // namespace kx
