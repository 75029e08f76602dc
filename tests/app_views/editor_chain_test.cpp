#include <gtest/gtest.h>

#include <QTest>

#include "base/file_io.h"
#include "show_editors_fixture.h"

namespace kx {
namespace {

// The chain of editors as the technician walks it from the title bar: 场景 -> an Effect -> a
// Slot in the Material editor -> 返回 -> 返回, with the program's own modules.
class EditorChainTest : public test::EditorChainFixture {
  protected:
    // From the scenes: Effect e, its Slot s, one recorded Step, then back to the scenes.
    void recordAStep(int e, int s) {
        openSlot(e, s);
        // The counts as typed into the fixture panel, then a Step.
        materials->editor().typeFixtureCount("2");
        materials->editor().typeChannelCount("3");
        click(in(materials, "Command加一步"));
        ASSERT_TRUE(materialExists(show.materials, 1, s));
        backToScenes();
    }
};

TEST_F(EditorChainTest, AStepRecordedInOneEffectSurvivesEditingAnotherAndIsSaved) {
    recordAStep(1, 3);
    EXPECT_EQ(show.currentEffect, 1);
    EXPECT_EQ(show.materials.at(1, 3).stepCount(), 1);
    EXPECT_EQ(shell->titleBar().functionButton(4)->text(), "场景");

    // Another Effect: the first one's bank went to its image.
    recordAStep(2, 5);
    EXPECT_EQ(show.currentEffect, 2);
    EXPECT_EQ(show.materials.at(1, 3).stepCount(), 0);
    EXPECT_EQ(show.materials.at(1, 5).stepCount(), 1);

    // Back to the first: its Material is there again.
    click(scenes->effectButton(1));
    EXPECT_EQ(show.currentEffect, 1);
    EXPECT_EQ(show.materials.at(1, 3).stepCount(), 1);
    EXPECT_EQ(in<QPushButton>(effects, "Command素材3")->isVisible(), true);

    // A save writes both Effects' Materials; a fresh load finds each in its place.
    ShowFile file = makeShowFile(show, images, paths, {platform, platform});
    ASSERT_TRUE(file.saveShow(platform));
    Show loaded;
    QTemporaryDir other;
    QDir(other.path()).mkpath("AppSet/Sys_config/SC_TEMP");
    const AppPaths otherPaths = AppPaths::under(other.path());
    EffectImages otherImages(loaded, otherPaths);
    ShowFile reader = makeShowFile(loaded, otherImages, otherPaths, {platform, platform});
    ASSERT_EQ(reader.loadShow(platform, paths.showFile), LoadResult::Loaded);
    ASSERT_TRUE(otherImages.open(1).done);
    EXPECT_EQ(loaded.materials.at(1, 3).stepCount(), 1);
    ASSERT_TRUE(otherImages.open(2).done);
    EXPECT_EQ(loaded.materials.at(1, 5).stepCount(), 1);
    EXPECT_EQ(loaded.materials.at(1, 3).stepCount(), 0);
}

}  // namespace
}  // namespace kx
