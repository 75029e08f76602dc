#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>

#include "roomctl/air_con_ir_window.h"
#include "roomctl/room_control_module.h"
#include "roomctl/room_control_view.h"
#include "shell_fixture.h"

namespace kx {
namespace {

// The room control editor and the air-conditioner IR window as the program plugs them in,
// against the simulated Controller.
class RoomControlLiveTest : public test::ShellFixture {
  protected:
    void SetUp() override {
        ShellFixture::SetUp();
        EditorContext& ctx = context();
        install({makeRoomControlEditor(ctx), makeAirConIrWindow(ctx)});
        room = viewOf<RoomControlView>(EditorId::RoomControl);
        airCon = viewOf<AirConIrWindow>(EditorId::IrLearning);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void enterRoomControl() {
        QTest::mouseClick(shell->titleBar().functionButton(1), Qt::LeftButton);
        ASSERT_EQ(window.currentView(), room);
        ASSERT_EQ(link->live().view(), 6);
    }
    // The infrared receive switches the Controller got: 1 on, 0 off.
    std::vector<int> receiveSwitches() const {
        std::vector<int> s;
        for (const kxsim::SimRecord& r : sim->commands(cmd::kControl, sub::kNecReceive))
            s.push_back(static_cast<std::uint8_t>(r.body[2]));
        return s;
    }
    static int count(const std::vector<int>& v, int value) {
        return static_cast<int>(std::ranges::count(v, value));
    }
    // Chooses entry index of a list through its popup, as the technician does.
    static void choose(QComboBox* list, int index) {
        list->showPopup();
        QAbstractItemView* popup = list->view();
        QTest::mouseClick(popup->viewport(), Qt::LeftButton, {},
                          popup->visualRect(popup->model()->index(index, 0)).center());
    }
    int frameSets() const { return static_cast<int>(sim->frameTimesNs(cmd::kDmxPortVJ).size()); }

    RoomControlView* room = nullptr;
    AirConIrWindow* airCon = nullptr;
};

TEST_F(RoomControlLiveTest, AFocusedCodeBoxLearnsTheRemoteKeyPressedInFrontOfTheController) {
    connectLink();
    enterRoomControl();
    QLineEdit* box = room->codeBox(5);
    box->setFocus(Qt::MouseFocusReason);
    // Receive-on is repeated while the box keeps the focus; the first makes the Controller
    // report the key pressed on the remote, which lands in key 5.
    ASSERT_TRUE(platform.pumpUntil([&] { return count(receiveSwitches(), 1) >= 2; }));
    ASSERT_TRUE(platform.pumpUntil([&] { return box->text() == "00 FF 12 ED "; }));
    EXPECT_EQ(show.room.effectorCodes[4], (EffectorCode{0x00, 0xFF, 0x12, 0xED}));
    EXPECT_EQ(show.room.effectorCodes[3], EffectorCode{});

    // Leaving the box switches the receiver off once, and nothing follows.
    room->list(RoomList::AirCon)->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(platform.pumpUntil([&] { return count(receiveSwitches(), 0) == 1; }));
    const std::size_t afterOff = receiveSwitches().size();
    platform.pumpFor(700);
    EXPECT_EQ(receiveSwitches().size(), afterOff);
    EXPECT_EQ(receiveSwitches().back(), 0);
    EXPECT_FALSE(room->editor().focusTimer().isActive());

    // A report arriving with no box focused changes nothing.
    sim->sendReplyTo(QHostAddress::LocalHost, static_cast<quint16>(commandSocketPort()),
                     QByteArray::fromHex("CE506611223344"));
    ASSERT_TRUE(platform.pumpUntil([&] { return link->receiveCount() >= 3; }));
    EXPECT_EQ(show.room.effectorCodes[4], (EffectorCode{0x00, 0xFF, 0x12, 0xED}));
}

TEST_F(RoomControlLiveTest, LeavingTheViewWhileLearningSwitchesTheReceiverOff) {
    connectLink();
    enterRoomControl();
    room->codeBox(2)->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(platform.pumpUntil([&] { return count(receiveSwitches(), 1) >= 1; }));
    QTest::mouseClick(room->findChild<QPushButton*>("Command进入红外空调界面"), Qt::LeftButton);
    ASSERT_EQ(window.currentView(), airCon);
    ASSERT_TRUE(platform.pumpUntil([&] { return count(receiveSwitches(), 0) == 1; }));
    platform.pumpFor(700);
    EXPECT_EQ(receiveSwitches().back(), 0);
}

TEST_F(RoomControlLiveTest, NothingIsSentForLearningWhileNotConnected) {
    enterRoomControl();
    room->codeBox(1)->setFocus(Qt::MouseFocusReason);
    platform.pumpFor(1200);
    room->codeBox(7)->setFocus(Qt::MouseFocusReason);
    room->list(RoomList::AirCon)->setFocus(Qt::MouseFocusReason);
    platform.pumpFor(300);
    EXPECT_TRUE(receiveSwitches().empty());
    EXPECT_FALSE(room->editor().focusTimer().isActive());
    EXPECT_EQ(show.room.effectorCodes[0], EffectorCode{});
}

TEST_F(RoomControlLiveTest, AChangedVjServerGoesOutInAHundredFrameSets) {
    connectLink();
    enterRoomControl();
    // The two sets asked for by the connect and the view go first.
    link->outputTick();
    link->outputTick();
    link->outputTick();
    ASSERT_TRUE(platform.pumpUntil([&] { return frameSets() == 2; }));
    link->live().frame()[5] = 9;

    QComboBox* vj = room->list(RoomList::VjServer);
    choose(vj, 2);
    ASSERT_EQ(vj->currentText(), "02 - MarloVJ服务器");
    EXPECT_EQ(show.room.vjServer, 2);
    // One set at once, then one per tick while the count lasts.
    ASSERT_TRUE(platform.pumpUntil([&] { return frameSets() == 3; }));
    EXPECT_EQ(link->live().frame()[5], 0);
    for (int i = 0; i < 105; ++i)
        link->outputTick();
    ASSERT_TRUE(platform.pumpUntil([&] { return frameSets() == 103; }));
    platform.pumpFor(50);
    EXPECT_EQ(frameSets(), 103);
    const QByteArray vjArgs = sim->lastFrame(cmd::kDmxPortVJ);
    ASSERT_EQ(vjArgs.size(), 600);
    EXPECT_EQ(vjArgs[531], 1);
    EXPECT_EQ(vjArgs[532], 2);
    EXPECT_EQ(vjArgs[533], 1);
    EXPECT_EQ(static_cast<std::uint8_t>(sim->lastFrame(cmd::kDmxPortsAB)[4]), 0);

    // A loaded show's selection is the one the frames carry.
    show.room.vjServer = 7;
    replaceShow();
    EXPECT_EQ(link->live().vjServer(), 7);
    EXPECT_EQ(vj->currentText(), "07 -");
}

TEST_F(RoomControlLiveTest, TheAirConditionerIsLearnedAndTriedOverTheLink) {
    enterRoomControl();
    QTest::mouseClick(room->findChild<QPushButton*>("Command进入红外空调界面"), Qt::LeftButton);
    ASSERT_EQ(window.currentView(), airCon);
    EXPECT_EQ(link->live().view(), 11);
    // The title bar's "灯控" now leads back to this window.
    QTest::mouseClick(shell->titleBar().functionButton(1), Qt::LeftButton);
    EXPECT_EQ(window.currentView(), airCon);

    QTest::mouseClick(airCon->learnButton(3), Qt::LeftButton);
    EXPECT_EQ(airCon->feedbackBox()->toPlainText(), "正在学习【冷高风18度】");
    ASSERT_TRUE(platform.pumpUntil(
        [&] { return airCon->feedbackBox()->toPlainText().endsWith(" ->学习成功!\n"); }));
    const auto learns = sim->commands(cmd::kControl, sub::kAirConIr);
    ASSERT_EQ(learns.size(), 1u);
    EXPECT_EQ(learns[0].body, QByteArray::fromHex("CE240203"));

    QTest::mouseClick(airCon->testButton(6), Qt::LeftButton);
    EXPECT_TRUE(airCon->testButton(6)->isEnabled());
    QTest::mouseClick(airCon->findChild<QPushButton*>("Command停止学习"), Qt::LeftButton);
    EXPECT_EQ(airCon->feedbackBox()->toPlainText(), "停止学习");
    ASSERT_TRUE(platform.pumpUntil(
        [&] { return sim->commands(cmd::kControl, sub::kAirConIr).size() == 3; }));
    const auto all = sim->commands(cmd::kControl, sub::kAirConIr);
    EXPECT_EQ(all[1].body, QByteArray::fromHex("CE240106"));
    EXPECT_EQ(all[2].body, QByteArray::fromHex("CE2404"));

    QTest::mouseClick(airCon->findChild<QPushButton*>("Command返回灯控"), Qt::LeftButton);
    EXPECT_EQ(window.currentView(), room);
    EXPECT_EQ(link->live().view(), 6);
    QTest::mouseClick(shell->titleBar().functionButton(1), Qt::LeftButton);
    EXPECT_EQ(window.currentView(), room);
}

TEST_F(RoomControlLiveTest, AListChangeIsTakenBackEvenFromTheAirConWindow) {
    enterRoomControl();
    QComboBox* startup = room->list(RoomList::StartupScene);
    choose(startup, 4);
    ASSERT_EQ(show.room.startupScene, 4);
    QTest::mouseClick(room->check(3), Qt::LeftButton);
    ASSERT_EQ(show.room.fan2ChannelReuse, 1);
    EXPECT_EQ(room->findChild<QPushButton*>("Command撤销")->toolTip(), "撤销：通道3当排风2");

    QTest::keyClick(startup, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(show.room.fan2ChannelReuse, 0);
    EXPECT_FALSE(room->check(3)->isChecked());
    // From the air-conditioner window the editor comes back to the front with the list as it was.
    QTest::mouseClick(room->findChild<QPushButton*>("Command进入红外空调界面"), Qt::LeftButton);
    ASSERT_EQ(window.currentView(), airCon);
    QTest::keyClick(airCon, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(show.room.startupScene, 0);
    EXPECT_EQ(window.currentView(), room);
    EXPECT_EQ(link->live().view(), 6);
    EXPECT_EQ(startup->currentIndex(), 0);
    QTest::keyClick(startup, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(show.room.startupScene, 4);
    EXPECT_EQ(startup->currentIndex(), 4);
}

}  // namespace
}  // namespace kx
