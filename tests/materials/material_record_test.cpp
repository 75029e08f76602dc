#include <gtest/gtest.h>

#include "material_test_util.h"
#include "materials/material_exchange.h"
#include "materials/material_record.h"
#include "storage/record_io.h"

namespace kx {
namespace {

using test::Bytes;
using test::patch;
using test::sized;

class MaterialRecordTest : public ::testing::Test {
  protected:
    FixtureLibrary lib;
    Material m = sized(1, 2, 2);

    void SetUp() override {
        m.setRemark("AB");
        m.setUnifiedTime(25);
        m.setPerStepTime(1);
        m.setJumpSize(3);
        m.setJumpAtRangeEnd(1);
        m.setBrightnessCut(10);
        m.setStartMode(2);
        m.setVirtualDimming(1);
        m.setHardwareSpeed(2);
        m.setRunFromStart(1);
        m.setChannelFunction(1, 20);  // R
        m.setChannelFunction(2, 21);  // G
        m.setStepTime(1, 5);
        m.setFadeToNext(1, 1);
        m.setValue(1, 1, 1, 10);
        m.setValue(1, 1, 2, 20);
        m.setStepTime(2, 7);
        m.setJumpMark(2, 1);  // and dark
        m.setTempChannel(2, 5);
        m.setTempChannel(4, 9);
        patch(lib, 0, 3, 1, 10, {20, 21, 20});  // port B, address 10
        patch(lib, 1, 2, 0, 1, {21, 0});        // page 1, port A, address 1
        m.setMapped(1, 0, 3, true);
        m.setMapped(1, 0, 4, true);  // not patched: neither listed nor routed
        m.setMapped(1, 1, 2, true);
    }
};

TEST_F(MaterialRecordTest, SingleMaterialFileIsByteExact) {
    Bytes e;
    e({0xF1, 0x04, 0x26, 0x01});  // 0: tag
    e.u16(2)({0x2D})({3})
        .u16(25)({1, 2})  // 4: steps, flags 0x01|0x04|0x08|0x20, jump, time, F, C
        ({10, 2, 1, 2})
        .u24(0)
        .zeros(5);                     // cut, start mode, dimming, speed, page block 0
    e.u24(50).u24(54).u24(0).u24(68);  // 24: P1, P2, P3, P4
    e.u24(42).u24(47);                 // 36: Step positions
    e.u16(5)({0x01, 10, 20});          // 42: Step 1, fades
    e.u16(7)({0x06});                  // 47: Step 2, marked and dark: no values
    e({20, 21})({1, 3});               // 50: Mapping Block page 0: functions; VF1 -> fixture 3
    e.u16(6)({2})
        .u16(522)
        .u16(524)  // 54: Address Table: 6 bytes; (1,1) -> 522, 524
        ({1})
        .u16(523);                      //     (1,2) -> 523
    e.u16(1).u16(2);                    // 64: Jump List: one Step, Step 2
    e({2, 0, 'A', 0, 'B'})({2, 5, 9});  // 68: remark, two Temporary Channels
    e({0xF1, 0x05, 0x01, 0x01});        // 76: Page Block tag
    e.u24(141).u24(145).zeros(18 * 3);  // 80: page 1 Mapping Block and Address Table
    e({2});                             // 140: pages in use
    e({20, 21})({1, 2});                // 141: page 1 Mapping Block: VF1 -> fixture 2
    e.u16(2)({0})({1}).u16(1);          // 145: Address Table: (1,1) none; (1,2) -> 1
    const auto built = buildSingleMaterialFile(m, lib);
    ASSERT_TRUE(built);
    EXPECT_EQ(test::toVector(*built), e.v);

    Material back;
    ASSERT_EQ(parseSingleMaterialFile(*built, back), ParseResult::Ok);
    Material expected = m;
    expected.setMapped(1, 0, 4, false);  // the files list patched fixtures only
    for (int e : {2, 4})
        expected.setTempChannel(e, 0);  // used entries come back first
    expected.setTempChannel(1, 5);
    expected.setTempChannel(2, 9);
    EXPECT_EQ(back, expected);
}

TEST_F(MaterialRecordTest, MotionBlockFollowsTheNamePart) {
    m.setMotionMode(1);
    m.setMotionGlobal(1, 15);
    m.setMotionGlobal(20, 70000);  // files keep 16 bits
    m.setMotionPerFixture(1, 7, 100);
    m.setMotionPerFixture(2, 7, 99);  // beyond fixtureCount: not written
    RecordBuffer buf(4096);
    int cursor = 0;
    writeMaterialRecord(m, lib, cursor, buf);
    ASSERT_TRUE(buf.ok());
    EXPECT_EQ(Fun_GetAt1(2, buf), 0x3D);  // flag bit 4: a Motion Block follows
    Bytes motion;
    motion({1});
    for (int i = 1; i <= 20; ++i)
        motion.u16(i == 1 ? 15 : i == 20 ? 70000 & 0xFFFF : 0).u16(i == 7 ? 100 : 0);
    ASSERT_EQ(cursor, 72 + motion.size());  // record of the previous test (76 - 4) + the block
    EXPECT_EQ(test::toVector(buf.bytes(cursor).mid(72)), motion.v);

    int at = 0;
    int pageBlock = -1;
    Material back;
    ASSERT_TRUE(readMaterialRecord(back, at, buf, pageBlock));
    EXPECT_EQ(at, cursor);
    EXPECT_EQ(pageBlock, 0);
    EXPECT_EQ(back.motionMode(), 1);
    EXPECT_EQ(back.motionGlobal(20), 70000 & 0xFFFF);
    EXPECT_EQ(back.motionPerFixture(1, 7), 100);
    EXPECT_EQ(back.motionPerFixture(2, 7), 0);
}

TEST(MaterialRecord, FourFixtureMotionBlockSizeAndLongRemark) {
    FixtureLibrary lib;
    Material m = sized(4, 1, 1);
    m.setMotionMode(1);
    m.setRemark("abcdefghijklmnopqrstuvwxy");  // 25 characters
    const auto plain = [&] {
        Material p = m;
        p.setMotionMode(0);
        return *buildSingleMaterialFile(p, lib);
    }();
    const auto withMotion = *buildSingleMaterialFile(m, lib);
    EXPECT_EQ(withMotion.size() - plain.size(), 1 + 20 * 5 * 2);
    Material back;
    ASSERT_EQ(parseSingleMaterialFile(withMotion, back), ParseResult::Ok);
    EXPECT_EQ(back.remark(), "abcdefghijklmnopqrst");
}

TEST_F(MaterialRecordTest, DamagedFilesAreRefusedWithoutChange) {
    const QByteArray good = *buildSingleMaterialFile(m, lib);
    Material target = sized(1, 1, 1);
    const Material before = target;
    auto refused = [&](QByteArray bytes) {
        return parseSingleMaterialFile(bytes, target) == ParseResult::Damaged && target == before;
    };
    for (int cut = 4; cut < good.size(); cut += 7)
        EXPECT_TRUE(refused(good.left(cut))) << cut;
    QByteArray steps = good;
    steps[4] = 0x09;  // 2305 Steps
    EXPECT_TRUE(refused(steps));
    QByteArray fixtures = good;
    fixtures[10] = 41;
    EXPECT_TRUE(refused(fixtures));
    QByteArray stepAt = good;
    stepAt[36] = 0x7F;  // Step 1 far outside
    EXPECT_TRUE(refused(stepAt));
    QByteArray temps = good;
    temps[73] = 21;
    EXPECT_TRUE(refused(temps));
    QByteArray tag = good;
    tag[0] = 0;
    EXPECT_EQ(parseSingleMaterialFile(tag, target), ParseResult::WrongTag);
    // A fixture number above 100 is skipped and reading goes on.
    QByteArray number = good;
    number[53] = 101;
    Material skipped;
    ASSERT_EQ(parseSingleMaterialFile(number, skipped), ParseResult::Ok);
    EXPECT_FALSE(skipped.isMapped(1, 0, 3));
    EXPECT_TRUE(skipped.isMapped(1, 1, 2));
}

}  // namespace
}  // namespace kx
