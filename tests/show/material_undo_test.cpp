#include <gtest/gtest.h>

#include "base/edit_history.h"
#include "materials/material_bank_file.h"
#include "materials/material_editor.h"
#include "materials/memory_images.h"
#include "show/show.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

// Images that can be made to refuse every write, as a full or read-only disk would.
struct SwitchableImages : test::MemoryImages {
    bool setImage(int effect, const QByteArray& image) override {
        return !stuck && MemoryImages::setImage(effect, image);
    }
    bool stuck = false;
};

// The Material editor on a whole show, its Effects switched as the program switches them, its
// stores recorded; the show written with the program's own section list.
class MaterialUndoShowTest : public test::FakePlatformTest {
  protected:
    MaterialUndoShowTest()
        : paths(AppPaths::under(fake.dir.path())),
          editor({show.materials, show.library, show.groups, show.functionNames, output}, paths,
                 {fake, fake}) {
        editor.setHistory({&history,
                           [this] { return show.currentEffect; },
                           [this](int e) { return openEffect(e); },
                           {}});
        show.library.at(0, 1).startAddress = 1;
        show.library.at(0, 1).channelCount = 3;
    }

    Outcome openEffect(int e) {
        return switchEffect(e, show.currentEffect, show.materials, show.library, images);
    }
    QByteArray save() {
        const ShowBuild build = buildShowFile(showSections(show, images, staged), "2026/12/9");
        EXPECT_TRUE(build.bytes);
        return build.bytes.value_or(QByteArray());
    }
    // A Material of f x c recorded from the editor, one Step holding `value` on channel 1.
    void record(int fixtures, int channels, int value) {
        editor.typeFixtureCount(QString::number(fixtures));
        editor.typeChannelCount(QString::number(channels));
        ASSERT_TRUE(editor.addStep(false).done);
        editor.enterValue(1, value);
        history.seal();
        editor.toggleLibraryFixture(1);
    }
    void undoAll() {
        while (history.undo().done) {
        }
    }

    Show show;
    StagedEffectImages staged;
    SwitchableImages images;
    MaterialOutput output;
    AppPaths paths;
    EditHistory history;
    MaterialEditor editor;
};

TEST_F(MaterialUndoShowTest, UndoAndRedoAcrossTwoEffectsGiveBackEveryByteOfTheShow) {
    ASSERT_TRUE(openEffect(1).done);
    editor.open(1, 1, "一", "");
    const QByteArray blank = save();
    record(2, 3, 100);
    const QByteArray first = save();

    ASSERT_TRUE(openEffect(2).done);
    editor.open(3, 4, "二", "");
    record(1, 2, 7);
    const QByteArray second = save();
    ASSERT_EQ(history.entryCount(), 10);

    undoAll();
    EXPECT_EQ(show.currentEffect, 1);
    EXPECT_EQ(save(), blank);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(history.redo().done);
    EXPECT_EQ(show.currentEffect, 1);
    EXPECT_EQ(save(), first);
    while (history.redo().done) {
    }
    EXPECT_EQ(show.currentEffect, 2);
    EXPECT_EQ(editor.module(), 3);
    EXPECT_EQ(editor.slot(), 4);
    EXPECT_EQ(save(), second);

    // Effect 1's image came through both switches: opened again, its Material is there.
    ASSERT_TRUE(openEffect(1).done);
    EXPECT_EQ(show.materials.at(1, 1).value(1, 1, 1), 100);
    EXPECT_TRUE(show.materials.at(1, 1).isMapped(1, 0, 1));
}

TEST_F(MaterialUndoShowTest, ABankSwitchThatCannotKeepTheOpenBankRefusesTheUndo) {
    ASSERT_TRUE(openEffect(1).done);
    editor.open(1, 1, "一", "");
    record(2, 3, 100);
    ASSERT_TRUE(openEffect(2).done);
    editor.open(2, 2, "二", "");
    record(1, 1, 9);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(history.undo().done);
    ASSERT_EQ(show.currentEffect, 2);
    const QByteArray before = save();
    const int entries = history.entryCount();

    // Effect 2's bank can be kept neither as an image nor by removing its image.
    images.stuck = true;
    const Outcome out = history.undo();
    images.stuck = false;
    EXPECT_FALSE(out.done);
    EXPECT_EQ(out.message, kMsgMaterialSaveFailed);
    EXPECT_EQ(show.currentEffect, 2);
    EXPECT_EQ(editor.module(), 2);
    EXPECT_EQ(history.entryCount(), entries);
    EXPECT_EQ(history.undoTip(), "撤销：素材 1 虚拟灯具 1 映射");
    EXPECT_EQ(history.redoTip(), "重做：素材 14 灯具数");
    EXPECT_EQ(save(), before);

    ASSERT_TRUE(history.undo().done);
    EXPECT_EQ(show.currentEffect, 1);
    EXPECT_FALSE(show.materials.at(1, 1).isMapped(1, 0, 1));
}

}  // namespace
}  // namespace kx
