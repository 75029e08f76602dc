#include <gtest/gtest.h>

#include "effects/effect_record.h"
#include "effects/effect_test_util.h"
#include "storage/record_io.h"

namespace kx {
namespace {

using namespace test;

constexpr int kStart = 204;  // where the Show File puts its first section

struct Saved {
    RecordBuffer buf{kShowFileCapacity};
    int end = kStart;
};

std::unique_ptr<Saved> saveTable(const EffectTable& t) {
    auto s = std::make_unique<Saved>();
    saveEffectsSection(t, s->buf, s->end);
    return s;
}

TEST(EffectRecord, SmallEffectBytes) {
    RecordBuffer buf(1024);
    int cursor = 100;
    int body = -1;
    writeEffectRecord(smallEffect(), cursor, buf, body);
    EXPECT_EQ(body, 100);
    QByteArray expected = QByteArray::fromHex(
        "000082"
        "00008c"
        "00008d"
        "00008e"  // settings 130, the three lists 140, 141, 142
        "000090"
        "000098"  // selections: part 0 at 144, part 1 (empty) 152
        "000098"
        "00009c"  // bar blocks 152, 156
        "00009d"
        "000000");  // module block 157, entry 10
    expected += QByteArray::fromHex(
        "01"    // flags: independent bass
        "28"    // bass hold 40
        "0102"  // no-bass part: 1 Bar of 2 Beats
        "0000"  // bass part: nothing
        "c8"
        "00"  // RGB 200, XY 0
        "0000");
    expected += QByteArray::fromHex("00");    // all no-bass Beats: none
    expected += QByteArray::fromHex("00");    // all bass Beats: none
    expected += QByteArray::fromHex("01f0");  // all Beats: Material 240
    expected += QByteArray::fromHex(
        "0004"
        "0005"      // beat lists at +4, +5
        "00"        // Bar 1 Beat 1: nothing
        "02010d");  // Bar 1 Beat 2: Materials 1 and 13
    expected += QByteArray::fromHex(
        "03"
        "010328");                          // bars of part 0: hold, repeat 3, dwell 40
    expected += QByteArray::fromHex("03");  // bars of part 1
    expected += QByteArray::fromHex(
                    "02"
                    "0105") +
                zeros(38);                          // modules: 1 associated, repeat 5
    expected += text("A") + zeros(19) + text("Z");  // remarks
    EXPECT_EQ(buf.bytes(cursor).mid(100), expected);

    Effect back;
    int readCursor = 0;
    ASSERT_TRUE(readEffectRecord(back, body, readCursor, buf));
    EXPECT_EQ(readCursor, cursor);
    EXPECT_EQ(back, asStored(smallEffect()));
    EXPECT_EQ(back.vjMode, 0);
}

TEST(EffectRecord, ShapesAndFlags) {
    // A remark and no Bars: only the 21 text fields.
    Effect remarkOnly;
    remarkOnly.remark = "R";
    RecordBuffer buf(8192);
    int cursor = 0;
    int body = -1;
    writeEffectRecord(remarkOnly, cursor, buf, body);
    EXPECT_EQ(body, 0);
    EXPECT_EQ(buf.bytes(cursor), text("R") + zeros(20));

    // 3 Bars of 4 Beats: a 24-byte beat-list table and a count byte 0 per empty Beat; Beat 6
    // is selected but outside the shape; correspondence without independent bass is flagged.
    Effect fx;
    setBarCount(fx, kBassPart, 3);
    setBeatsPerBar(fx, kBassPart, 4);
    setBeatSelection(fx, kBassPart, 2, 3, 1, 5, 1);
    setBeatSelection(fx, kBassPart, 2, 6, 1, 6, 1);
    setEffectSetting(fx, &Effect::beatCorrespondence, 1);
    setEffectSetting(fx, &Effect::vjMode, 1);
    cursor = 100;
    writeEffectRecord(fx, cursor, buf, body);
    ASSERT_EQ(body, 100);
    const QByteArray b = buf.bytes(cursor).mid(100);
    EXPECT_EQ(b.mid(30, 1), QByteArray::fromHex("16"));  // correspondence, invalid, VJ DMX
    const int sel = Fun_GetAt3(100 + 3 * 5, buf) - 100;  // selection block of the bass part
    EXPECT_EQ(sel, 30 + 10 + 3);
    EXPECT_EQ(Fun_GetAt3(100 + 3 * 6, buf) - 100, sel + 24 + 12 + 1);  // 12 lists, one of 2
    EXPECT_EQ(b.mid(sel, 24), QByteArray::fromHex("0018"
                                                  "0019"
                                                  "001a"
                                                  "001b"
                                                  "001c"
                                                  "001d"
                                                  "001e"
                                                  "0020"
                                                  "0021"
                                                  "0022"
                                                  "0023"
                                                  "0024"));
    EXPECT_EQ(b.mid(sel + 24, 13), QByteArray::fromHex("00000000"
                                                       "00"
                                                       "00"
                                                       "0105"
                                                       "00"
                                                       "00000000"));
    Effect back;
    int readCursor = 0;
    ASSERT_TRUE(readEffectRecord(back, body, readCursor, buf));
    EXPECT_EQ(readCursor, cursor);
    EXPECT_EQ(back.correspondenceInvalid, 0);  // derived, never read
    EXPECT_EQ(back.vjMode, 1);
    EXPECT_TRUE(beatSelected(back, kBassPart, 2, 3, 1, 5));
    EXPECT_FALSE(beatSelected(back, kBassPart, 2, 6, 1, 6));
    EXPECT_EQ(back, asStored(fx));
}

TEST(EffectsSection, PristineBytesAndRoundTrip) {
    const auto pristine = saveTable(EffectTable{});
    QByteArray expected = QByteArray::fromHex(
        "eeeeeeee"
        "f1040301");
    expected += zeros(20) + zeros(150);  // header, no bodies
    expected += zeros(50 * 21);          // 50 records of empty text fields
    expected += QByteArray("KX-7420 EFFECT TABLE");
    EXPECT_EQ(pristine->buf.bytes(pristine->end).mid(kStart), expected);
    EXPECT_EQ(Fun_GetAt4(4 * 12, pristine->buf), kStart + 4);

    const EffectTable t = busyTable();
    const auto saved = saveTable(t);
    ASSERT_TRUE(saved->buf.ok());
    // Body positions: entry e is non-zero exactly for the Effects with content.
    for (int e = 1; e <= kEffectCount; ++e) {
        EXPECT_EQ(Fun_GetAt3(kStart + 8 + 20 + 3 * (e - 1), saved->buf) != 0,
                  effectHasContent(t.at(e)));
    }
    EffectTable back;
    int cursor = 0;
    ASSERT_TRUE(loadEffectsSection(back, saved->buf, cursor));
    for (int e = 1; e <= kEffectCount; ++e)
        EXPECT_EQ(back.at(e), asStored(t.at(e))) << e;
    const auto again = saveTable(back);
    EXPECT_EQ(again->buf.bytes(again->end), saved->buf.bytes(saved->end));
}

// A section written again copies the records of unchanged Effects: wherever the section starts
// and whatever changed since, the bytes are those a first encoding makes.
TEST(EffectsSection, RecordsWrittenAgainAreThoseOfTheShowAsItStandsNow) {
    const auto saveAt = [](const EffectTable& t, int start) {
        auto s = std::make_unique<Saved>();
        s->end = start;
        saveEffectsSection(t, s->buf, s->end);
        EXPECT_TRUE(s->buf.ok());
        return s->buf.bytes(s->end);
    };
    EffectTable t = busyTable();
    EffectTable other = t;
    for (Effect& fx : other.effects) {
        fx.remark += QStringLiteral("x");
        setBarCount(fx, kBassPart, 3);
    }
    // Saving the other table first: every record of t is encoded afresh.
    saveAt(other, kStart + 7);
    const QByteArray fresh = saveAt(t, kStart + 7);
    saveAt(other, kStart);
    const QByteArray freshAtStart = saveAt(t, kStart);
    EXPECT_EQ(saveAt(t, kStart), freshAtStart);
    EXPECT_EQ(saveAt(t, kStart + 7), fresh);

    // Edits after a save: a Beat, a Bar's shape, a remark, an Effect emptied.
    setBeatSelection(t.at(4), kNoBassPart, 1, 1, 20, 12, 1);
    setBarCount(t.at(3), kNoBassPart, 1);
    t.at(2).remark = QStringLiteral("改了");
    clearEffect(t.at(5));
    const QByteArray edited = saveAt(t, kStart);
    EXPECT_NE(edited, freshAtStart);
    saveAt(other, kStart);
    EXPECT_EQ(saveAt(t, kStart), edited);

    RecordBuffer buf = RecordBuffer::fromBytes(edited);
    int cursor = 0;
    EffectTable back;
    ASSERT_TRUE(loadEffectsSection(back, buf, cursor));
    for (int e = 1; e <= kEffectCount; ++e)
        EXPECT_EQ(back.at(e), asStored(t.at(e))) << e;
    EXPECT_TRUE(beatSelected(back.at(4), kNoBassPart, 1, 1, 20, 12));
    EXPECT_EQ(back.at(2).remark, QStringLiteral("改了"));
}

// A Beat that selects nothing is no different from one never touched.
TEST(EffectModel, ABeatClearedAgainEqualsOneNeverSelected) {
    Effect touched;
    setBeatSelection(touched, kBassPart, 48, 8, 20, 12, 1);
    copyBar(touched, kBassPart, 48, kNoBassPart, 1);
    EXPECT_TRUE(beatSelected(touched, kNoBassPart, 1, 8, 20, 12));
    setBeatSelection(touched, kBassPart, 48, 8, 20, 12, 0);
    clearBarSelections(touched, kNoBassPart, 1);
    touched.parts[0].bars[0] = BarSettings{};
    EXPECT_EQ(touched, Effect{});
    EXPECT_FALSE(setBeatSelection(touched, kBassPart, 49, 1, 1, 1, 1));
    EXPECT_TRUE(beatSelection(touched, kBassPart, 49, 1).none());
}

TEST(EffectsSection, MissingAndDamagedSections) {
    const EffectTable t = busyTable();
    const auto good = saveTable(t);
    const QByteArray bytes = good->buf.bytes(good->end);
    const auto load = [](RecordBuffer buf, bool& ok) {
        auto table = std::make_unique<EffectTable>(busyTable());
        int cursor = 0;
        ok = loadEffectsSection(*table, buf, cursor);
        return table;
    };
    bool ok = false;
    RecordBuffer missing = RecordBuffer::fromBytes(bytes);
    Fun_PutAt4(0, 4 * 12, missing);
    EXPECT_EQ(*load(missing, ok), EffectTable{});
    EXPECT_TRUE(ok);

    const int table = kStart + 8 + 20;
    const int body1 = Fun_GetAt3(table, good->buf);
    const int body49 = Fun_GetAt3(table + 3 * 48, good->buf);  // the last body, near the end
    const EffectTable empty;
    const auto damaged = [&](auto change) {
        RecordBuffer b = RecordBuffer::fromBytes(bytes);
        change(b);
        bool read = true;
        const auto result = load(std::move(b), read);
        EXPECT_EQ(*result, empty);  // never half a table
        return read;
    };
    EXPECT_FALSE(damaged([&](RecordBuffer& b) { Fun_PutAt3(0xFFFFFF, table + 3 * 49, b); }));
    EXPECT_FALSE(damaged([&](RecordBuffer& b) { Fun_PutAt3(0xFFFFF0, body1, b); }));     // settings
    EXPECT_FALSE(damaged([&](RecordBuffer& b) { Fun_PutAt1(49, body1 + 30 + 2, b); }));  // Bars
    EXPECT_FALSE(damaged([&](RecordBuffer& b) { Fun_PutAt1(9, body1 + 30 + 5, b); }));   // Beats
    EXPECT_FALSE(damaged([&](RecordBuffer& b) {  // a beat list far outside
        Fun_PutAt2(0xFFFF, Fun_GetAt3(body49 + 15, b), b);
    }));
    EXPECT_FALSE(damaged([&](RecordBuffer& b) {  // a bar record size past the end
        Fun_PutAt1(255, Fun_GetAt3(body49 + 21, b), b);
    }));
    // The file cut short in the last Effect's remarks.
    EXPECT_FALSE(damaged(
        [&](RecordBuffer& b) { b = RecordBuffer::fromBytes(bytes.left(bytes.size() - 30)); }));
}

// A table of the largest kind is read on two threads: every record reads back as on one, the
// remark-only ones behind a body included, the cursor ends behind the last record, and damage in
// either half fails the whole table.
TEST(EffectsSection, LargeTablesReadOnTwoThreadsAsOnOne) {
    auto t = std::make_unique<EffectTable>();
    for (int e = 1; e <= kEffectCount; ++e) {
        if (e % 7 == 0) {
            t->at(e).remark = QStringLiteral("只有备注%1").arg(e);
            continue;
        }
        Effect& fx = t->at(e) = busyEffect(e);
        for (int part : {kNoBassPart, kBassPart}) {
            setBarCount(fx, part, kMaxBars);
            setBeatsPerBar(fx, part, kMaxBeats);
            for (int bar = 1; bar <= kMaxBars; ++bar) {
                for (int beat = 1; beat <= kMaxBeats; ++beat) {
                    for (int n = (bar * beat + e) % 7 + 1; n <= 240; n += 9) {
                        const auto slot = *materialSlotOf(n);
                        setBeatSelection(fx, part, bar, beat, slot.module, slot.slot, 1);
                    }
                }
            }
        }
    }
    const auto saved = saveTable(*t);
    ASSERT_TRUE(saved->buf.ok());
    const int table = kStart + 8 + 20;
    const int body1 = Fun_GetAt3(table, saved->buf);
    const int body50 = Fun_GetAt3(table + 3 * 49, saved->buf);
    EXPECT_GE(body50 - body1, 512 * 1024);

    auto back = std::make_unique<EffectTable>();
    int cursor = 0;
    ASSERT_TRUE(loadEffectsSection(*back, saved->buf, cursor));
    for (int e = 1; e <= kEffectCount; ++e)
        EXPECT_EQ(back->at(e), asStored(t->at(e))) << e;
    EXPECT_EQ(cursor, saved->end - 20);  // the trailer follows

    const QByteArray bytes = saved->buf.bytes(saved->end);
    for (const int body : {body1, body50}) {
        RecordBuffer damaged = RecordBuffer::fromBytes(bytes);
        Fun_PutAt3(0xFFFFF0, body, damaged);  // the settings far outside
        cursor = 0;
        EXPECT_FALSE(loadEffectsSection(*back, damaged, cursor)) << body;
        EXPECT_EQ(*back, EffectTable{}) << body;
    }
}

TEST(EffectsSection, ForeignValuesInsideLists) {
    // Material Numbers 0 and 241 name nothing; a bar record longer than ours is passed over.
    RecordBuffer buf(4096);
    int cursor = 0;
    int body = 0;
    Effect fx;
    setBarCount(fx, kNoBassPart, 2);
    setBeatsPerBar(fx, kNoBassPart, 1);
    writeEffectRecord(fx, cursor, buf, body);
    const int allList = Fun_GetAt3(3 * 3, buf);
    Fun_PutAt2(0x0100, allList, buf);  // count 1, Material 0
    Effect back;
    cursor = 0;
    ASSERT_TRUE(readEffectRecord(back, body, cursor, buf));
    EXPECT_TRUE(back.allBeats.none());
    Fun_PutAt2(0x01F1, allList, buf);  // Material 241
    cursor = 0;
    ASSERT_TRUE(readEffectRecord(back, body, cursor, buf));
    EXPECT_TRUE(back.allBeats.none());

    // Bar records of 4 bytes (the fourth is passed over) and module records of 0 bytes.
    RecordBuffer wide(4096);
    const std::array<int, 10> blocks{130, 140, 141, 142, 143, 149, 149, 158, 159, 0};
    Fun_PutInt24Table(100, blocks, wide);
    cursor = 130;
    for (int v : {0, 0, 2, 1, 0, 0, 0, 0, 0, 0})
        Fun_Put1(v, cursor, wide);  // 2 Bars of 1 Beat
    for (int v : {0, 0, 0})
        Fun_Put1(v, cursor, wide);  // three lists
    for (int v : {0, 4, 0, 5, 0, 0})
        Fun_Put1(v, cursor, wide);  // beat lists at +4, +5: empty
    for (int v : {4, 1, 9, 50, 77, 0, 8, 60, 77})
        Fun_Put1(v, cursor, wide);  // bars, size 4
    Fun_Put1(0, cursor, wide);      // bass part: size 0, no Bars
    Fun_Put1(0, cursor, wide);      // modules: size 0
    cursor += 21;                   // the empty text fields
    Effect w;
    int readCursor = 0;
    ASSERT_TRUE(readEffectRecord(w, 100, readCursor, wide));
    EXPECT_EQ(readCursor, cursor);
    EXPECT_EQ(w.parts[0].bars[0], (BarSettings{1, 9, 50}));
    EXPECT_EQ(w.parts[0].bars[1], (BarSettings{0, 8, 60}));
    EXPECT_EQ(w.modules[0], ModuleSettings{});
}

TEST(EffectsSection, OverlongBeatListsFailTheWrite) {
    // Every Beat of a 48 x 8 part selecting all 240 Materials does not fit 16-bit list positions.
    Effect fx;
    setBarCount(fx, kNoBassPart, kMaxBars);
    setBeatsPerBar(fx, kNoBassPart, kMaxBeats);
    MaterialSet all;
    all.set();
    for (int bar = 1; bar <= kMaxBars; ++bar) {
        for (int beat = 1; beat <= kMaxBeats; ++beat)
            fx.parts[0].selections[beatKey(bar, beat)] = all;
    }
    RecordBuffer buf(kShowFileCapacity);
    int cursor = 0;
    int body = 0;
    writeEffectRecord(fx, cursor, buf, body);
    EXPECT_FALSE(buf.ok());
}

TEST(EffectsSection, BeatListsAcrossTheWholeNumberRange) {
    // Numbers at both ends and on every 64-bit boundary of the set, in ascending order.
    Effect fx;
    setBarCount(fx, kNoBassPart, 1);
    setBeatsPerBar(fx, kNoBassPart, 2);
    MaterialSet set;
    for (int n : {240, 1, 63, 64, 65, 128, 129, 192, 193})
        set.set(n - 1);
    fx.allBeats = set;
    fx.parts[0].selections[beatKey(1, 2)] = set;
    RecordBuffer buf(4096);
    int cursor = 100;  // a body at 0 would be an absent one
    int body = 0;
    writeEffectRecord(fx, cursor, buf, body);
    const QByteArray list = QByteArray::fromHex("09013f40418081c0c1f0");
    const int allList = Fun_GetAt3(body + 3 * 3, buf);
    EXPECT_EQ(buf.bytes(allList + 10).mid(allList), list);
    const int selections = Fun_GetAt3(body + 3 * 4, buf);
    // Two entries, Beat 1 empty at +4, Beat 2 at +5.
    EXPECT_EQ(buf.bytes(selections + 15).mid(selections), QByteArray::fromHex("0004000500") + list);
    Effect back;
    int readCursor = 0;
    ASSERT_TRUE(readEffectRecord(back, body, readCursor, buf));
    EXPECT_EQ(readCursor, cursor);
    EXPECT_EQ(back.allBeats, set);
    EXPECT_EQ(back.parts[0].selections, fx.parts[0].selections);

    // A buffer that ends inside the lists fails, and the cursor still passes every list.
    RecordBuffer small(allList + 5);
    int smallCursor = 100;
    writeEffectRecord(fx, smallCursor, small, body);
    EXPECT_FALSE(small.ok());
    EXPECT_EQ(smallCursor, cursor);
}

}  // namespace
}  // namespace kx
