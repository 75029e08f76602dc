#include <gtest/gtest.h>

#include "scenes/scene_table.h"
#include "storage/record_io.h"

namespace kx {
namespace {

// Sections are written where the Show File puts the first one: behind the 204-byte header, so
// the directory entries land where the container expects them.
constexpr int kStart = 204;

struct Written {
    RecordBuffer buf{8192};
    int end = kStart;
};

Written save(const SceneTable& t) {
    Written w;
    saveScenesSection(t, w.buf, w.end);
    return w;
}

QByteArray section(const Written& w) {
    return w.buf.bytes(w.end).mid(kStart);
}

SceneTable load(Written& w, bool* ok = nullptr) {
    SceneTable t;
    int cursor = 0;
    const bool read = loadScenesSection(t, w.buf, cursor);
    if (ok) *ok = read;
    return t;
}

QByteArray zeros(int n) {
    return QByteArray(n, '\0');
}

TEST(SceneSection, PristineTableBytes) {
    const Written w = save(SceneTable{});
    QByteArray expected = QByteArray::fromHex(
        "eeeeeeee"
        "f1041101");                                          // frame, section tag
    expected += QByteArray::fromHex("00000258") + zeros(16);  // header: P = 600 (F1091701 tag)
    expected += zeros(100) + QByteArray::fromHex("0184");     // table: entries 1-50 0, 51 = 388
    expected += QByteArray::fromHex("f1062601");              // at 334: blocks tag
    expected += zeros(50);                                    // audio sources
    expected += zeros(50) + zeros(50);                        // at 388: wall panel, VOD
    expected += zeros(30);                                    // names of scenes 1-30: empty
    expected += QByteArray::fromHex(
        "02"
        "51685f00");  // 31 全开
    expected += QByteArray::fromHex(
        "02"
        "51685173");  // 32 全关
    expected += QByteArray::fromHex(
        "05"
        "975997f3002f6682505c");  // 33 静音/暂停
    expected += QByteArray::fromHex(
        "02"
        "54085531");  // 34 合唱
    expected += QByteArray::fromHex(
        "04"
        "6253789f753597f3");           // 35 打碟电音
    expected += zeros(15);             // names 36-50
    expected += zeros(24) + zeros(8);  // relay, dimmer remarks
    expected += QByteArray::fromHex(
        "f1091701"
        "02"
        "00");              // at 600: extension, flags, reserved
    expected += zeros(50);  // effector sounds
    EXPECT_EQ(section(w), expected);
    EXPECT_EQ(Fun_GetAt4(8, const_cast<RecordBuffer&>(w.buf)), kStart + 4);  // directory entry 2
}

TEST(SceneSection, RecordsAndBlocksBytes) {
    SceneTable t;
    ASSERT_TRUE(setSceneEffect(t, 2, 7));
    ASSERT_TRUE(setRelay(t, 2, 1, 1));
    ASSERT_TRUE(setRelay(t, 2, 24, 1));
    ASSERT_TRUE(setDimmerLevel(t, 2, 3, 5));
    ASSERT_TRUE(setMainsByDmx(t, 5, 1));
    ASSERT_TRUE(setDimmerLevel(t, 9, 1, 9));
    ASSERT_TRUE(setDimmerLevel(t, 9, 8, 2));
    // Scene 4 has only blocks and a name: no record.
    ASSERT_TRUE(setSceneName(t, 4, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    ASSERT_TRUE(setAudioSource(t, 4, 5));
    ASSERT_TRUE(setWallPanelScene(t, 4, 30));
    ASSERT_TRUE(setVodScene(t, 4, 12));
    ASSERT_TRUE(setEffectorSound(t, 4, 6));
    ASSERT_TRUE(setRelayRemark(t, 24, "R"));
    ASSERT_TRUE(setDimmerRemark(t, 1, "D"));
    Written w = save(t);
    const QByteArray s = section(w);
    // Table at 232: entry 2 -> 334, entry 5 -> 341, entry 9 -> 347, entry 51 -> 409.
    QByteArray table = zeros(102);
    const auto entry = [&table](int n, int position) {
        table[2 * (n - 1)] = static_cast<char>(position >> 8);
        table[2 * (n - 1) + 1] = static_cast<char>(position & 0xFF);
    };
    entry(2, 334);
    entry(5, 341);
    entry(9, 347);
    entry(51, 409);
    EXPECT_EQ(s.mid(28, 102), table);
    // effect, flags, relay mask, dimmer mask, levels of the set mask bits
    EXPECT_EQ(s.mid(130, 7), QByteArray::fromHex("07"
                                                 "00"
                                                 "800001"
                                                 "04"
                                                 "05"));  // scene 2
    EXPECT_EQ(s.mid(137, 6), QByteArray::fromHex("00"
                                                 "01"
                                                 "000000"
                                                 "00"));  // scene 5
    EXPECT_EQ(s.mid(143, 8), QByteArray::fromHex("00"
                                                 "00"
                                                 "000000"
                                                 "81"
                                                 "09"
                                                 "02"));  // scene 9
    EXPECT_EQ(s.mid(151, 4), QByteArray::fromHex("f1062601"));
    EXPECT_EQ(s.at(155 + 3), 5);   // audio source of scene 4
    EXPECT_EQ(s.at(205 + 3), 30);  // wall panel scene of scene 4
    EXPECT_EQ(s.at(255 + 3), 12);  // VOD scene of scene 4
    EXPECT_EQ(s.mid(305 + 3, 3), QByteArray::fromHex("14"
                                                     "0041"));  // name cut to 20 units
    EXPECT_EQ(s.right(50).at(3), 6);                            // effector sound of scene 4

    const SceneTable back = load(w);
    SceneTable expected = t;
    expected.at(4).name = "ABCDEFGHIJKLMNOPQRST";
    EXPECT_EQ(back, expected);
}

TEST(SceneSection, FullRoundTripAndSpecialNames) {
    SceneTable t;
    for (int n = 1; n <= kSceneCount; ++n) {
        setSceneName(t, n, QStringLiteral("场景%1").arg(n));
        setSceneEffect(t, n, n);
        setMainsByDmx(t, n, n % 2);
        for (int k = 1; k <= kRelayChannels; ++k)
            setRelay(t, n, k, (n + k) % 3 == 0);
        for (int k = 1; k <= kDimmerChannels; ++k)
            setDimmerLevel(t, n, k, (n * k) % 10);
        setAudioSource(t, n, n % 6);
        setWallPanelScene(t, n, 31 - (n % 31));
        setVodScene(t, n, n % 31);
        setEffectorSound(t, n, n % 7);
    }
    for (int k = 1; k <= kRelayChannels; ++k)
        setRelayRemark(t, k, QStringLiteral("继电器%1").arg(k));
    for (int k = 1; k <= kDimmerChannels; ++k)
        setDimmerRemark(t, k, QStringLiteral("调光%1").arg(k));
    // A file may hold anything in the special names; the load puts the fixed names back.
    t.at(33).name = "X";
    t.at(40).name = "forty";
    Written w = save(t);
    bool ok = false;
    const SceneTable back = load(w, &ok);
    ASSERT_TRUE(ok);
    SceneTable expected = t;
    applySpecialSceneNames(expected);
    EXPECT_EQ(back, expected);
    EXPECT_EQ(back.at(33).name, "静音/暂停");
    EXPECT_EQ(back.at(40).name, "forty");
    EXPECT_EQ(section(save(back)), section(save(expected)));
}

TEST(SceneSection, OlderAndPartialFiles) {
    SceneTable t;
    setSceneEffect(t, 1, 3);
    setEffectorSound(t, 1, 4);
    setAudioSource(t, 1, 2);
    setVodScene(t, 1, 9);
    {
        // Before the effector-sound extension: no F1091701 tag.
        Written w = save(t);
        const int p = kStart + 8 + 20 + 102 + 6 + 4 + 50 + 100 + 30 + 5 + 5 + 11 + 5 + 9 + 15 + 32;
        ASSERT_EQ(Fun_GetAt4(p, w.buf), static_cast<int>(0xF1091701));
        Fun_PutAt4(0, p, w.buf);
        const SceneTable back = load(w);
        EXPECT_EQ(back.at(1).effectorSound, 0);
        EXPECT_EQ(back.at(1).vodScene, 9);
        EXPECT_EQ(back.at(1).effectNumber, 3);
    }
    {
        // A foreign blocks tag: audio sources stay 0, the rest is found by its position.
        Written w = save(t);
        Fun_PutAt4(0x12345678, kStart + 8 + 20 + 102 + 6, w.buf);
        const SceneTable back = load(w);
        EXPECT_EQ(back.at(1).audioSource, 0);
        EXPECT_EQ(back.at(1).vodScene, 9);
        EXPECT_EQ(back.at(1).effectorSound, 4);
    }
    {
        // Without the section: reset table, fixed names, no failure.
        Written w = save(t);
        Fun_PutAt4(0, 8, w.buf);
        bool ok = false;
        const SceneTable back = load(w, &ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(back, SceneTable{});
    }
}

TEST(SceneSection, DamagedSectionsAreRefused) {
    SceneTable t;
    setSceneEffect(t, 1, 3);
    setDimmerLevel(t, 1, 8, 9);
    const Written good = save(t);
    const auto damaged = [&good](auto change) {
        Written w;
        w.buf = RecordBuffer::fromBytes(good.buf.bytes(good.end));
        change(w.buf);
        SceneTable back;
        setSceneEffect(back, 7, 7);
        int cursor = 0;
        const bool ok = loadScenesSection(back, w.buf, cursor);
        EXPECT_EQ(back.at(7).effectNumber, 0);  // never the old table, whatever happened
        return ok;
    };
    const int table = kStart + 8 + 20;
    EXPECT_FALSE(damaged([&](RecordBuffer& b) { Fun_PutAt2(0xFFF0, table, b); }));        // record
    EXPECT_FALSE(damaged([&](RecordBuffer& b) { Fun_PutAt2(0xFFF0, table + 100, b); }));  // blocks
    EXPECT_TRUE(damaged([](RecordBuffer&) {}));
    // The file cut in the middle of the names.
    Written cut;
    cut.buf = RecordBuffer::fromBytes(good.buf.bytes(kStart + 400));
    SceneTable back;
    int cursor = 0;
    EXPECT_FALSE(loadScenesSection(back, cut.buf, cursor));
    // A record naming an Effect the show cannot have reads as none.
    Written w;
    w.buf = RecordBuffer::fromBytes(good.buf.bytes(good.end));
    Fun_PutAt1(99, Fun_GetAt2(table, w.buf), w.buf);
    EXPECT_EQ(load(w).at(1).effectNumber, 0);
    EXPECT_EQ(load(w).at(1).dimmerLevels[7], 9);
}

TEST(SceneTable, EditingRulesAndOperations) {
    SceneTable t;
    EXPECT_FALSE(setSceneEffect(t, 1, 51));
    EXPECT_FALSE(setSceneEffect(t, 0, 1));
    EXPECT_FALSE(setSceneEffect(t, 51, 1));
    EXPECT_FALSE(setDimmerLevel(t, 1, 1, 10));
    EXPECT_FALSE(setDimmerLevel(t, 1, 9, 1));
    EXPECT_FALSE(setRelay(t, 1, 25, 1));
    EXPECT_FALSE(setRelay(t, 1, 1, 2));
    EXPECT_FALSE(setAudioSource(t, 1, 6));
    EXPECT_FALSE(setEffectorSound(t, 1, 7));
    EXPECT_FALSE(setWallPanelScene(t, 1, 31));
    EXPECT_FALSE(setWallPanelScene(t, 31, 1));  // special scenes keep their associations
    EXPECT_FALSE(setSceneName(t, 35, "x"));     // and their names
    EXPECT_TRUE(setSceneName(t, 30, "x"));
    EXPECT_EQ(t.at(35).name, "打碟电音");
    EXPECT_FALSE(sceneHasContent(t, 30));

    setSceneEffect(t, 1, 5);
    setRelay(t, 1, 2, 1);
    setDimmerLevel(t, 1, 4, 3);
    setAudioSource(t, 1, 1);
    setEffectorSound(t, 1, 2);
    setSceneName(t, 1, "one");
    setVodScene(t, 1, 1);
    setMainsByDmx(t, 1, 1);
    setSceneName(t, 2, "two");
    setWallPanelScene(t, 2, 7);
    EXPECT_TRUE(copyScene(t, 1, 2));
    EXPECT_FALSE(copyScene(t, 1, 51));
    const Scene& two = t.at(2);
    EXPECT_EQ(two.effectNumber, 5);
    EXPECT_EQ(two.mainsByDmx, 1);
    EXPECT_EQ(two.relays[1], 1);
    EXPECT_EQ(two.dimmerLevels[3], 3);
    EXPECT_EQ(two.audioSource, 1);
    EXPECT_EQ(two.effectorSound, 2);
    EXPECT_EQ(two.name, "two");
    EXPECT_EQ(two.wallPanelScene, 7);
    EXPECT_EQ(two.vodScene, 0);

    setDefaultAssociations(t);
    EXPECT_EQ(t.at(2).wallPanelScene, 2);
    EXPECT_EQ(t.at(30).vodScene, 30);
    EXPECT_EQ(t.at(31).vodScene, 0);

    resetScenes(t);
    EXPECT_TRUE(t.at(31).name.isEmpty());
    EXPECT_EQ(t.at(1), Scene{});
}

}  // namespace
}  // namespace kx
