#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "base/settings.h"
#include "monitor/lamp_layout.h"
#include "monitor_test_util.h"

namespace kx {
namespace {

using test::patchFixture;

class LampLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int n = 1; n <= 20; ++n)
            patchFixture(lib, 0, n, 0, n * 3, {20, 21, 22});
        patchFixture(lib, 1, 5, 1, 1, {20});
        lib.at(0, 30).name = "named only";
    }
    static LampPlace placeOf(const std::vector<PlacedLamp>& lamps, int page, int number) {
        for (const PlacedLamp& l : lamps)
            if (l.page == page && l.number == number) return l.place;
        ADD_FAILURE() << "no lamp " << page << "-" << number;
        return {};
    }
    FixtureLibrary lib;
};

TEST_F(LampLayoutTest, LampsFillTheGridByPageAndNumber) {
    const std::vector<PlacedLamp> lamps = arrangeLamps(lib, {});
    ASSERT_EQ(lamps.size(), 21u);
    EXPECT_EQ(lamps[0], (PlacedLamp{0, 1, {0, 0}}));
    EXPECT_EQ(lamps[15], (PlacedLamp{0, 16, {15, 0}}));
    EXPECT_EQ(lamps[16], (PlacedLamp{0, 17, {0, 1}}));
    EXPECT_EQ(lamps[20], (PlacedLamp{1, 5, {4, 1}}));
    EXPECT_EQ(lampRowsUsed(lamps), 2);
}

TEST_F(LampLayoutTest, KeptPlacesComeFirstAndTheRestFillAroundThem) {
    LampPlaces places{{2, {0, 0}}, {105, {3, 4}}, {3, {0, 0}}, {77, {9, 9}}};
    const std::vector<PlacedLamp> lamps = arrangeLamps(lib, places);
    EXPECT_EQ(placeOf(lamps, 0, 2), (LampPlace{0, 0}));
    EXPECT_EQ(placeOf(lamps, 1, 5), (LampPlace{3, 4}));
    // A place already taken by an earlier lamp is not kept.
    EXPECT_EQ(placeOf(lamps, 0, 1), (LampPlace{1, 0}));
    EXPECT_EQ(placeOf(lamps, 0, 3), (LampPlace{2, 0}));
    EXPECT_EQ(lampRowsUsed(lamps), 5);
}

TEST_F(LampLayoutTest, DraggingSwapsWithTheLampThereAndFreezesTheOthers) {
    const std::vector<PlacedLamp> before = arrangeLamps(lib, {});
    LampPlaces places = moveLamp(before, {}, 0, 1, {2, 0});
    std::vector<PlacedLamp> after = arrangeLamps(lib, places);
    EXPECT_EQ(placeOf(after, 0, 1), (LampPlace{2, 0}));
    EXPECT_EQ(placeOf(after, 0, 3), (LampPlace{0, 0}));
    EXPECT_EQ(placeOf(after, 0, 2), (LampPlace{1, 0}));

    // Into free space, held inside the grid: the place it leaves stays empty.
    places = moveLamp(after, places, 0, 2, {99, 7});
    after = arrangeLamps(lib, places);
    EXPECT_EQ(placeOf(after, 0, 2), (LampPlace{kLampColumns - 1, 7}));
    EXPECT_EQ(placeOf(after, 0, 4), (LampPlace{3, 0}));
    // An unknown lamp changes nothing.
    EXPECT_EQ(moveLamp(after, places, 1, 99, {0, 0}), places);
}

TEST_F(LampLayoutTest, PlacesRoundTripThroughWorkSetAndBadEntriesAreSkipped) {
    const LampPlaces places{{1, {0, 0}}, {105, {15, 49}}, {200, {3, 2}}};
    EXPECT_EQ(formatLampPlaces(places), "1:0,0;105:15,49;200:3,2");
    EXPECT_EQ(parseLampPlaces(formatLampPlaces(places)), places);
    EXPECT_EQ(parseLampPlaces("1:0,0;;0:1,1;201:1,1;5:16,0;6:-1,0;7:1,50;8:x,1;9:1;10;11:2,2"),
              (LampPlaces{{1, {0, 0}}, {11, {2, 2}}}));

    QTemporaryDir dir;
    const QString workSet = dir.filePath("WORK_SET");
    ASSERT_TRUE(Fun_IniWrite(workSet, "LoSet", "1"));
    EXPECT_TRUE(loadLampPlaces(workSet).empty());
    ASSERT_TRUE(saveLampPlaces(workSet, places));
    EXPECT_EQ(loadLampPlaces(workSet), places);
    EXPECT_EQ(Fun_IniRead(workSet, "LoSet"), "1");
}

}  // namespace
}  // namespace kx
