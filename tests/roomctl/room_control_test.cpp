#include <gtest/gtest.h>

#include "roomctl/room_control.h"
#include "storage/record_io.h"

namespace kx {
namespace {

constexpr int kStart = 204;  // behind the Show File header, where section 1 sits

QByteArray sectionBytes(const RoomControl& rc, RecordBuffer& buf) {
    int cursor = kStart;
    writeRoomControlSection(rc, buf, cursor);
    EXPECT_EQ(cursor, kStart + 8 + kRoomControlBodySize);
    return buf.bytes(cursor).mid(kStart);
}

RoomControl allAwayFromDefaults() {
    RoomControl rc;
    const auto set = [&rc](RoomControlField f, int v) { EXPECT_TRUE(setRoomControl(rc, f, v)); };
    set(&RoomControl::startupScene, 32);
    set(&RoomControl::fan1OnAtStartup, 1);
    set(&RoomControl::fan1ChannelReuseOff, 1);
    set(&RoomControl::fan2OnAtStartup, 1);
    set(&RoomControl::fan2ChannelReuse, 1);
    set(&RoomControl::acAtStartup, 3);
    set(&RoomControl::acFanChannelReuse, 1);
    set(&RoomControl::valveOpenChannelReuse, 1);
    set(&RoomControl::valveCloseChannelReuse, 1);
    set(&RoomControl::micShakeSeconds, 20);
    set(&RoomControl::sceneRelaySource, 1);
    set(&RoomControl::smokeSeconds, 15);
    set(&RoomControl::cheerBooSeconds, 4);
    set(&RoomControl::denseDrumCount, 15);
    set(&RoomControl::djMode, 3);
    set(&RoomControl::djAudioSource, 6);
    set(&RoomControl::djScene, 17);
    set(&RoomControl::vjServer, 20);
    set(&RoomControl::audioFollowMode, 2);
    set(&RoomControl::sceneXYLimit, 10);
    set(&RoomControl::vodPauseNoPauseScene, 1);
    set(&RoomControl::dmxPauseOnVodPause, 1);
    set(&RoomControl::doorLightOff, 1);
    for (int key = 1; key <= kEffectorKeys; ++key) {
        const auto k = static_cast<std::uint8_t>(key);
        EXPECT_TRUE(setEffectorCode(rc, key, {k, 0x22, 0x33, static_cast<std::uint8_t>(0xF0 | k)}));
    }
    return rc;
}

TEST(RoomControlSection, PristineBytes) {
    RecordBuffer buf(1024);
    const QByteArray s = sectionBytes(RoomControl{}, buf);
    QByteArray expected = QByteArray::fromHex(
        "eeeeeeee"
        "f1042301");  // frame, section tag
    expected += QByteArray::fromHex(
        "00c8"                                       // 0: body length 200
        "00"                                         // 2: start-up scene none
        "00000000"                                   // 3-6: fans
        "00"                                         // 7: air conditioner off
        "000000"                                     // 8-10: channel reuse
        "01"                                         // 11: mic shake 1 s
        "00"                                         // 12: scene relays by the tool
        "0000"                                       // 13-14: smoke, cheer/boo
        "07"                                         // 15: dense drum count 7
        "000000"                                     // 16-18: DJ mode, source, scene
        "00"                                         // 19: reserved
        "0000"                                       // 20-21: VJ server, audio follow
        "000000"                                     // 22-24: reserved
        "02"                                         // 25: scene XY limit 2
        "000000");                                   // 26-28: VOD pause, DMX pause, door light
    expected += QByteArray(71, '\0');                // 29-99: gap
    expected += QByteArray(80, '\0');                // 100-179: no effector codes
    expected += QByteArray("KX-7420 ROOM CONTROL");  // 180-199: signature
    EXPECT_EQ(s, expected);
    EXPECT_EQ(Fun_GetAt4(4, buf), kStart + 4);  // directory entry 1: the tag
}

TEST(RoomControlSection, FieldsAtTheirOffsets) {
    RecordBuffer buf(1024);
    const QByteArray s = sectionBytes(allAwayFromDefaults(), buf);
    const QByteArray body = s.mid(8);
    EXPECT_EQ(body.left(29), QByteArray::fromHex("00c8"
                                                 "20"
                                                 "01"
                                                 "01"
                                                 "01"
                                                 "01"
                                                 "03"
                                                 "01"
                                                 "01"
                                                 "01"
                                                 "14"
                                                 "01"
                                                 "0f"
                                                 "04"
                                                 "0f"
                                                 "03"
                                                 "06"
                                                 "11"
                                                 "00"  // 19 reserved
                                                 "14"
                                                 "02"      // 20-21
                                                 "000000"  // 22-24 reserved
                                                 "0a"
                                                 "01"
                                                 "01"
                                                 "01"));
    EXPECT_EQ(body.mid(29, 71), QByteArray(71, '\0'));
    EXPECT_EQ(body.mid(100, 4), QByteArray::fromHex("012233f1"));  // key 1
    EXPECT_EQ(body.mid(176, 4), QByteArray::fromHex("142233f4"));  // key 20
}

TEST(RoomControlSection, RoundTripAndLoadAdjustments) {
    const RoomControl away = allAwayFromDefaults();
    RecordBuffer buf(1024);
    sectionBytes(away, buf);
    RoomControl back;
    int cursor = 0;
    ASSERT_TRUE(readRoomControlSection(back, buf, cursor));
    EXPECT_EQ(back, away);

    // Stored values the defaults correct.
    const int body = kStart + 8;
    Fun_PutAt1(0, body + 11, buf);  // mic shake 0
    Fun_PutAt1(2, body + 12, buf);  // relay source 2
    Fun_PutAt1(4, body + 15, buf);  // dense drum 4
    ASSERT_TRUE(readRoomControlSection(back, buf, cursor));
    EXPECT_EQ(back.micShakeSeconds, 1);
    EXPECT_EQ(back.sceneRelaySource, 0);
    EXPECT_EQ(back.denseDrumCount, 7);
    Fun_PutAt1(16, body + 15, buf);
    ASSERT_TRUE(readRoomControlSection(back, buf, cursor));
    EXPECT_EQ(back.denseDrumCount, 7);
}

TEST(RoomControlSection, MissingAndDamagedSections) {
    // No section: the reset with its defaults, and the three fields the reset keeps.
    RoomControl rc = allAwayFromDefaults();
    RecordBuffer empty(kStart);
    int cursor = 0;
    ASSERT_TRUE(readRoomControlSection(rc, empty, cursor));
    RoomControl expected;
    expected.sceneXYLimit = 10;
    expected.vodPauseNoPauseScene = 1;
    expected.dmxPauseOnVodPause = 1;
    EXPECT_EQ(rc, expected);
    EXPECT_EQ(rc.fan1ChannelReuseOff, 0);  // channel 9 serves as exhaust fan 1

    // A body cut short is refused.
    RecordBuffer buf(1024);
    sectionBytes(allAwayFromDefaults(), buf);
    RecordBuffer cut = RecordBuffer::fromBytes(buf.bytes(kStart + 8 + 150));
    EXPECT_FALSE(readRoomControlSection(rc, cut, cursor));

    // A directory entry pointing past the end is a missing section, not a crash.
    Fun_PutAt4(0x7FFFFFF0, 4, buf);
    EXPECT_TRUE(readRoomControlSection(rc, buf, cursor));
    EXPECT_EQ(rc.startupScene, 0);
}

TEST(RoomControl, SettersRefuseValuesOutsideTheirRange) {
    RoomControl rc;
    EXPECT_FALSE(setRoomControl(rc, &RoomControl::micShakeSeconds, 0));
    EXPECT_FALSE(setRoomControl(rc, &RoomControl::micShakeSeconds, 21));
    EXPECT_FALSE(setRoomControl(rc, &RoomControl::smokeSeconds, 3));
    EXPECT_TRUE(setRoomControl(rc, &RoomControl::smokeSeconds, 15));
    EXPECT_FALSE(setRoomControl(rc, &RoomControl::cheerBooSeconds, 12));
    EXPECT_FALSE(setRoomControl(rc, &RoomControl::denseDrumCount, 4));
    EXPECT_FALSE(setRoomControl(rc, &RoomControl::startupScene, 33));
    EXPECT_FALSE(setRoomControl(rc, &RoomControl::vjServer, 21));
    EXPECT_FALSE(setRoomControl(rc, &RoomControl::sceneXYLimit, 11));
    EXPECT_FALSE(setRoomControl(rc, &RoomControl::acAtStartup, -1));
    EXPECT_FALSE(setEffectorCode(rc, 0, {}));
    EXPECT_FALSE(setEffectorCode(rc, 21, {}));
    RoomControl untouched;
    untouched.smokeSeconds = 15;
    EXPECT_EQ(rc, untouched);
}

}  // namespace
}  // namespace kx
