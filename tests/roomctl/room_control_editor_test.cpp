#include <gtest/gtest.h>

#include <vector>

#include "roomctl/air_con_ir.h"
#include "roomctl/room_control_editor.h"

namespace kx {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(EffectorCodeBox, TypedTextAndShownText) {
    EXPECT_EQ(parseEffectorCode("11 22 33 44"), (EffectorCode{0x11, 0x22, 0x33, 0x44}));
    EXPECT_EQ(parseEffectorCode("a1b2c3d4"), (EffectorCode{0xA1, 0xB2, 0xC3, 0xD4}));
    EXPECT_EQ(parseEffectorCode(" 0 0FF12 ED "), (EffectorCode{0x00, 0xFF, 0x12, 0xED}));
    EXPECT_EQ(parseEffectorCode(""), EffectorCode{});
    EXPECT_EQ(parseEffectorCode("   "), EffectorCode{});
    for (const char* refused : {"1122334", "112233445", "11 22 33 4G", "+1223344", "1122 33\t44",
                                "１１２２３３４４", "0x112233"}) {
        EXPECT_FALSE(parseEffectorCode(QString::fromUtf8(refused))) << refused;
    }
    EXPECT_EQ(effectorCodeText({0x11, 0x22, 0x33, 0x44}), "11 22 33 44 ");
    EXPECT_EQ(effectorCodeText({0x0A, 0x00, 0xBC, 0x00}), "0A 00 BC 00 ");
    EXPECT_EQ(effectorCodeText({}), "");
    // What a box shows is taken back as the same code.
    EXPECT_EQ(parseEffectorCode(effectorCodeText({0xDE, 0xAD, 0x00, 0x01})),
              (EffectorCode{0xDE, 0xAD, 0x00, 0x01}));
    EXPECT_EQ(effectorKeyLabel(1), "音乐+");
    EXPECT_EQ(effectorKeyLabel(13), "电影");
    EXPECT_EQ(effectorKeyLabel(17), "音源4");
    EXPECT_EQ(effectorKeyLabel(18), "");
}

// Every list: its entries in order and the value each stores.
TEST(RoomControlLists, EntriesAndStoredValues) {
    SceneTable scenes;
    scenes.at(1).name = "开场";
    scenes.at(32).name = "DJ";
    const auto entries = [&](RoomList l) { return roomListChoices(l, scenes).entries; };
    const auto values = [&](RoomList l) { return roomListChoices(l, scenes).values; };
    const auto range = [](int first, int last) {
        std::vector<int> v;
        for (int i = first; i <= last; ++i)
            v.push_back(i);
        return v;
    };

    for (RoomList l : {RoomList::StartupScene, RoomList::DjScene}) {
        const QStringList e = entries(l);
        ASSERT_EQ(e.size(), 33);
        EXPECT_EQ(e[0], "无");
        EXPECT_EQ(e[1], "1-开场");
        EXPECT_EQ(e[2], "2-");
        EXPECT_EQ(e[32], "32-DJ");
        EXPECT_EQ(values(l), range(0, 32));
    }
    EXPECT_EQ(sceneEntryText(scenes, 0), "无");
    EXPECT_EQ(sceneEntryText(scenes, 31), "31-全开");

    EXPECT_EQ(entries(RoomList::AirCon), QStringList({"关闭", "低风", "中风", "高风"}));
    EXPECT_EQ(values(RoomList::AirCon), range(0, 3));
    const QStringList mic = entries(RoomList::MicShake);
    ASSERT_EQ(mic.size(), 20);
    EXPECT_EQ(mic.first(), "1秒");
    EXPECT_EQ(mic.last(), "20秒");
    EXPECT_EQ(values(RoomList::MicShake), range(1, 20));
    for (RoomList l : {RoomList::Smoke, RoomList::CheerBoo}) {
        EXPECT_EQ(entries(l), QStringList({"0", "2", "4", "6", "8", "10", "15", "20"}));
        EXPECT_EQ(values(l), (std::vector<int>{0, 2, 4, 6, 8, 10, 15, 20}));
    }
    EXPECT_EQ(entries(RoomList::DenseDrum),
              QStringList({"5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15"}));
    EXPECT_EQ(values(RoomList::DenseDrum), range(5, 15));
    EXPECT_EQ(entries(RoomList::DjMode),
              QStringList({"关闭", "点歌机暂停切换", "点歌机暂停+静音切换", "专用场景1"}));
    EXPECT_EQ(values(RoomList::DjMode), range(0, 3));
    EXPECT_EQ(entries(RoomList::DjAudioSource),
              QStringList({"无", "音源1", "音源2", "音源3", "音源4", "音源5", "音源6"}));
    EXPECT_EQ(values(RoomList::DjAudioSource), range(0, 6));
    const QStringList vj = entries(RoomList::VjServer);
    ASSERT_EQ(vj.size(), 21);
    EXPECT_EQ(vj[0], "00 - 无");
    EXPECT_EQ(vj[1], "01 - TamselVJ服务器 2021");
    EXPECT_EQ(vj[2], "02 - MarloVJ服务器");
    EXPECT_EQ(vj[3], "03 -");
    EXPECT_EQ(vj[20], "20 -");
    EXPECT_EQ(values(RoomList::VjServer), range(0, 20));
    EXPECT_EQ(entries(RoomList::AudioFollow),
              QStringList({"无", "本机端口", "VJ服务器端口", "红外输出"}));
    EXPECT_EQ(values(RoomList::AudioFollow), range(0, 3));
    EXPECT_EQ(entries(RoomList::SceneXYLimit).last(), "10");
    EXPECT_EQ(values(RoomList::SceneXYLimit), range(0, 10));
    const QStringList xy = entries(RoomList::XyDefaultLimit);
    ASSERT_EQ(xy.size(), 128);
    EXPECT_EQ(xy.first(), "0");
    EXPECT_EQ(xy.last(), "127");
    EXPECT_EQ(values(RoomList::XyDefaultLimit), range(0, 127));

    // Every list offers only values its field takes.
    for (const RoomListEntry& entry : roomLists()) {
        if (!entry.field) continue;
        for (int v : values(entry.list))
            EXPECT_TRUE(roomControlAccepts(entry.field, v)) << entry.objectName << " " << v;
    }
    const ChoiceList smoke = roomListChoices(RoomList::Smoke, scenes);
    EXPECT_EQ(smoke.indexOf(15), 6);
    EXPECT_EQ(smoke.indexOf(3), -1);
    EXPECT_EQ(smoke.valueAt(7), 20);
    EXPECT_FALSE(smoke.valueAt(8));
    EXPECT_FALSE(smoke.valueAt(-1));
}

class RoomControlEditorTest : public ::testing::Test {
  protected:
    RoomControlEditor makeEditor() {
        RoomControlLink link;
        link.connected = [this] { return connected; };
        link.inFront = [this] { return inFront; };
        link.sendControl = [this](std::span<const std::uint8_t> args) {
            sent.emplace_back(args.begin(), args.end());
        };
        link.vjServerChanged = [this](std::uint8_t s) { servers.push_back(s); };
        return RoomControlEditor(room, thresholds, scenes, std::move(link));
    }

    RoomControl room;
    ActionThresholds thresholds;
    SceneTable scenes;
    bool connected = true;
    bool inFront = true;
    std::vector<Bytes> sent;
    std::vector<std::uint8_t> servers;
};

TEST_F(RoomControlEditorTest, ListsChecksAndOptionsStoreTheirFields) {
    RoomControlEditor editor = makeEditor();
    EXPECT_TRUE(editor.chooseEntry(RoomList::MicShake, 4));
    EXPECT_EQ(room.micShakeSeconds, 5);
    EXPECT_TRUE(editor.chooseEntry(RoomList::Smoke, 6));
    EXPECT_EQ(room.smokeSeconds, 15);
    EXPECT_TRUE(editor.chooseEntry(RoomList::DenseDrum, 10));
    EXPECT_EQ(room.denseDrumCount, 15);
    EXPECT_TRUE(editor.chooseEntry(RoomList::DjScene, 32));
    EXPECT_EQ(room.djScene, 32);
    EXPECT_TRUE(editor.chooseEntry(RoomList::XyDefaultLimit, 127));
    EXPECT_EQ(thresholds.xyDefaultLimit, 127);
    EXPECT_EQ(editor.listValue(RoomList::XyDefaultLimit), 127);
    EXPECT_FALSE(editor.chooseEntry(RoomList::DenseDrum, 11));
    EXPECT_FALSE(editor.chooseEntry(RoomList::AirCon, -1));
    EXPECT_EQ(room.denseDrumCount, 15);
    EXPECT_TRUE(servers.empty());

    EXPECT_TRUE(editor.chooseEntry(RoomList::VjServer, 2));
    EXPECT_EQ(room.vjServer, 2);
    EXPECT_EQ(servers, (std::vector<std::uint8_t>{2}));

    // "通道9当排风1" ticked is the stored 0.
    EXPECT_EQ(roomChecks()[1].field, &RoomControl::fan1ChannelReuseOff);
    editor.setCheck(1, false);
    EXPECT_EQ(room.fan1ChannelReuseOff, 1);
    editor.setCheck(1, true);
    EXPECT_EQ(room.fan1ChannelReuseOff, 0);
    editor.setCheck(9, true);
    EXPECT_EQ(room.doorLightOff, 1);
    EXPECT_TRUE(checkTicked(roomChecks()[1], 0));
    EXPECT_FALSE(checkTicked(roomChecks()[9], 0));

    EXPECT_TRUE(editor.chooseRelaySource(2));
    EXPECT_EQ(room.sceneRelaySource, 1);
    editor.setRelayOptionsEnabled(false);
    EXPECT_FALSE(editor.chooseRelaySource(1));
    EXPECT_EQ(room.sceneRelaySource, 1);
    editor.setRelayOptionsEnabled(true);
    EXPECT_TRUE(editor.chooseRelaySource(1));
    EXPECT_EQ(room.sceneRelaySource, 0);
    EXPECT_FALSE(editor.chooseRelaySource(3));
}

TEST_F(RoomControlEditorTest, CodeBoxesKeepTheOldCodeOnRefusedText) {
    RoomControlEditor editor = makeEditor();
    EXPECT_TRUE(editor.typeEffectorCode(5, "11 22 33 44"));
    EXPECT_EQ(room.effectorCodes[4], (EffectorCode{0x11, 0x22, 0x33, 0x44}));
    EXPECT_FALSE(editor.state().refused[4]);
    for (const char* text : {"1122334", "112233445", "zz223344"}) {
        EXPECT_FALSE(editor.typeEffectorCode(5, text));
        EXPECT_TRUE(editor.state().refused[4]);
        EXPECT_EQ(room.effectorCodes[4], (EffectorCode{0x11, 0x22, 0x33, 0x44}));
    }
    EXPECT_TRUE(editor.typeEffectorCode(5, ""));
    EXPECT_EQ(room.effectorCodes[4], EffectorCode{});
    EXPECT_FALSE(editor.state().refused[4]);
    EXPECT_EQ(effectorCodeText(room.effectorCodes[4]), "");

    editor.typeEffectorCode(17, "1");
    editor.codesShown();
    EXPECT_FALSE(editor.state().refused[16]);
    // Keys 18-20 stay as stored.
    room.effectorCodes[17] = {1, 2, 3, 4};
    EXPECT_FALSE(editor.typeEffectorCode(18, "55667788"));
    EXPECT_EQ(room.effectorCodes[17], (EffectorCode{1, 2, 3, 4}));
}

TEST_F(RoomControlEditorTest, ANecReportLandsInTheFocusedKeyOnly) {
    RoomControlEditor editor = makeEditor();
    const Bytes report{0x50, 0x66, 0x00, 0xFF, 0x12, 0xED};
    EXPECT_FALSE(editor.receiveReply(0xCE, report));  // no key focused
    EXPECT_EQ(room, RoomControl{});

    editor.focusKey(3);
    editor.typeEffectorCode(3, "123");
    ASSERT_TRUE(editor.state().refused[2]);
    EXPECT_TRUE(editor.receiveReply(0xCE, report));
    EXPECT_EQ(room.effectorCodes[2], (EffectorCode{0x00, 0xFF, 0x12, 0xED}));
    EXPECT_FALSE(editor.state().refused[2]);

    const std::vector<std::pair<std::uint8_t, Bytes>> foreign{
        {0xCD, report},
        {0xCE, {0x50, 0x66, 1, 2, 3}},
        {0xCE, {0x50, 0x66, 1, 2, 3, 4, 5}},
        {0xCE, {0x50, 0x44, 1, 2, 3, 4}},
        {0xCE, {0x24, 0x02, 1, 2, 3, 4}},
        {0xCE, {}},
    };
    for (const auto& [code, data] : foreign)
        EXPECT_FALSE(editor.receiveReply(code, data));
    EXPECT_EQ(room.effectorCodes[2], (EffectorCode{0x00, 0xFF, 0x12, 0xED}));

    editor.blurKey();
    EXPECT_EQ(editor.state().focusedKey, 0);
    EXPECT_FALSE(editor.receiveReply(0xCE, report));
}

TEST(IrFocusTimer, WhatEachTickSends) {
    // Focused: receive-on every 500 ms, only while connected with the view in front.
    EXPECT_EQ(irFocusTick(4, true, true).receive, kIrReceiveOn);
    EXPECT_EQ(irFocusTick(4, true, true).nextMs, 500);
    EXPECT_FALSE(irFocusTick(4, false, true).receive);
    EXPECT_FALSE(irFocusTick(4, true, false).receive);
    EXPECT_EQ(irFocusTick(4, false, true).nextMs, 500);
    // Left: receive-off once while connected, then the timer stops.
    EXPECT_EQ(irFocusTick(0, true, true).receive, kIrReceiveOff);
    EXPECT_EQ(irFocusTick(0, true, false).receive, kIrReceiveOff);
    EXPECT_EQ(irFocusTick(0, true, true).nextMs, 0);
    EXPECT_FALSE(irFocusTick(0, false, true).receive);
    EXPECT_EQ(irFocusTick(0, false, true).nextMs, 0);
}

TEST(RoomControlColoursTest, DefaultsAndFullScheme) {
    Appearance plain;
    const RoomControlColours d = roomControlColours(plain);
    EXPECT_EQ(d.codeValid, 0xD0D0D0u);
    EXPECT_EQ(d.codeInvalid, 0xC0C0FFu);
    EXPECT_EQ(d.labelFocused, 0xFFFF00u);
    EXPECT_EQ(d.labelNormal, 0x00FFFFu);
    Appearance skin =
        parseFullScheme("灯控_红外label选中文字颜色=123456\r\n公用Text背景颜色=ABCDEF\r\n");
    ASSERT_TRUE(skin.customised);
    const RoomControlColours s = roomControlColours(skin);
    EXPECT_EQ(s.labelFocused, 0x123456u);
    EXPECT_EQ(s.codeValid, 0xABCDEFu);
    EXPECT_EQ(s.labelNormal, Appearance::kFullSchemeDefault);
    EXPECT_EQ(s.codeInvalid, 0xC0C0FFu);
}

TEST(AirConIr, LearnStopTestAndTheLearnedReport) {
    std::vector<Bytes> sent;
    AirConIrEditor editor([&sent](std::span<const std::uint8_t> args) {
        sent.emplace_back(args.begin(), args.end());
    });
    editor.learn(3);
    EXPECT_EQ(editor.feedback(), "正在学习【冷高风18度】");
    editor.Fun_发送已经保存红外码值(6);
    editor.stopLearning();
    EXPECT_EQ(editor.feedback(), "停止学习");
    editor.learn(0);
    editor.learn(7);  // no such key
    editor.Fun_发送已经保存红外码值(-1);
    EXPECT_EQ(sent, (std::vector<Bytes>{
                        {0x24, 0x02, 0x03}, {0x24, 0x01, 0x06}, {0x24, 0x04}, {0x24, 0x02, 0x00}}));
    EXPECT_EQ(editor.feedback(), "正在学习【关闭】");

    EXPECT_TRUE(editor.receiveReply(0xCE, Bytes{0x24, 0x02}));
    EXPECT_EQ(editor.feedback(), "正在学习【关闭】 ->学习成功!\n");
    EXPECT_FALSE(editor.receiveReply(0xCE, Bytes{0x24, 0x01}));
    EXPECT_FALSE(editor.receiveReply(0xCE, Bytes{0x24}));
    EXPECT_FALSE(editor.receiveReply(0xC0, Bytes{0x24, 0x02}));
    EXPECT_EQ(editor.feedback(), "正在学习【关闭】 ->学习成功!\n");
    EXPECT_EQ(airConKeyCaption(6), "热高风30度");
}

}  // namespace
}  // namespace kx
