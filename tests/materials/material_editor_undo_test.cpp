#include <gtest/gtest.h>

#include <functional>

#include "material_editor_fixture.h"
#include "material_test_util.h"
#include "materials/material_bank_file.h"
#include "materials/memory_images.h"

namespace kx {
namespace {

using test::patch;

// The editor's stores recorded in an edit history, its bank the open Effect's of a show kept in
// memory: Effect 1 open, its neighbours in their images.
class MaterialEditorUndoTest : public test::MaterialEditorFixture {
  protected:
    void SetUp() override {
        patch(lib, 0, 1, 0, 1, {20, 21});
        patch(lib, 0, 2, 0, 10, {20});
        m() = test::sized(3, 4, 3);
        editor.open(1, 1, "夜场", "开场");
        editor.setHistory({&history, [this] { return effect; },
                           [this](int e) { return switchEffect(e, effect, *bank, lib, images); },
                           [this] { ++reveals; }});
    }
    // The bytes of what the Effects' Materials hold: the open bank's image and the images of the
    // others (the open Effect's own image is stale until its bank is closed).
    QByteArray bytes() const {
        QByteArray all = buildEffectImage(*bank, lib).value_or(QByteArray());
        for (const auto& [e, image] : images.images)
            if (e != effect) all += QByteArray::number(e) + image;
        return all;
    }

    EditHistory history;
    test::MemoryImages images;
    int effect = 1;
    int reveals = 0;
};

TEST_F(MaterialEditorUndoTest, EveryStoreIsOneEntryThatUndoAndRedoTakeBackByteForByte) {
    struct Store {
        const char* description;
        std::function<void(MaterialEditor&)> edit;
    };
    const Store stores[] = {
        {"素材 1 备注", [](MaterialEditor& e) { e.setRemark("开场白"); }},
        {"素材 1 统一时间", [](MaterialEditor& e) { e.typeUnifiedTime("35"); }},
        {"素材 1 单步时间", [](MaterialEditor& e) { e.setPerStepTime(true); }},
        {"素材 1 亮度百分比", [](MaterialEditor& e) { e.chooseBrightness(30); }},
        {"素材 1 加一步", [](MaterialEditor& e) { e.addStep(false); }},
        {"素材 1 复制加一步", [](MaterialEditor& e) { e.addStep(true); }},
        {"素材 1 删除步", [](MaterialEditor& e) { e.deleteStep(); }},
        {"素材 1 通道 3", [](MaterialEditor& e) { e.typeValue(3, "77"); }},
        {"素材 1 全255", [](MaterialEditor& e) { e.setEveryValue(255); }},
        {"素材 1 粘贴数值",
         [](MaterialEditor& e) {
             e.copyValues();
             e.nextStep();
             e.pasteValues();
         }},
        {"素材 1 通道 2 定义",
         [](MaterialEditor& e) {
             e.clickDefinition(2);
             e.pickCode(33);
         }},
        {"素材 1 临时通道", [](MaterialEditor& e) { e.pressTempCode(150); }},
        {"素材 1 灯具数", [](MaterialEditor& e) { e.typeFixtureCount("2"); }},
        {"素材 1 通道数", [](MaterialEditor& e) { e.typeChannelCount("6"); }},
        {"素材 1 虚拟灯具 1 映射", [](MaterialEditor& e) { e.toggleLibraryFixture(2); }},
        {"素材 1 清除灯具选择", [](MaterialEditor& e) { e.clearFixtureSelection(); }},
        {"素材 1 跑马",
         [](MaterialEditor& e) {
             ChaseFields f;
             f.type = kChaseTypeHeadToTail;
             e.runChase(f);
         }},
        {"素材 1 XY动作辅助生成", [](MaterialEditor& e) { e.chooseMotionMode(1); }},
        {"素材 1 生成动作", [](MaterialEditor& e) { e.generateMotion(); }},
        {"素材 1 删除素材", [](MaterialEditor& e) { e.deleteMaterial(); }},
    };
    m().setMapped(1, 0, 1, true);
    fake.yesNoAnswers = {true};
    for (const Store& s : stores) {
        SCOPED_TRACE(s.description);
        const QByteArray before = bytes();
        const int entries = history.entryCount();
        s.edit(editor);
        history.seal();
        ASSERT_EQ(history.entryCount(), entries + 1);
        EXPECT_EQ(history.undoTip(), QStringLiteral("撤销：") + s.description);
        const QByteArray after = bytes();
        ASSERT_NE(before, after);
        ASSERT_TRUE(history.undo().done);
        EXPECT_EQ(bytes(), before);
        EXPECT_EQ(history.redoTip(), QStringLiteral("重做：") + s.description);
        ASSERT_TRUE(history.redo().done);
        EXPECT_EQ(bytes(), after);
    }
    EXPECT_EQ(reveals, 2 * static_cast<int>(std::size(stores)));
}

// A Material whose channels are all "空" drives nothing; mapped onto fixtures with definitions it
// is offered the first one's (lowest Virtual Fixture, then page and number), taken in one entry.
TEST_F(MaterialEditorUndoTest, TheMappedFixturesDefinitionsAreOfferedAndTakenInOneEntry) {
    // Sized 3 x 4 with no definitions, mapped nowhere: said, but nothing to offer.
    EXPECT_TRUE(editor.definitionsMissing());
    EXPECT_FALSE(editor.definitionOffer());
    patch(lib, 1, 7, 0, 40, {0, 0, 0, 0, 0});
    patch(lib, 0, 9, 0, 30, {0, 21, 22});
    patch(lib, 0, 3, 0, 20, {20, 21, 22});
    m().setMapped(1, 1, 7, true);  // no functions: passed over
    m().setMapped(2, 0, 9, true);
    m().setMapped(3, 0, 3, true);
    const auto offer = editor.definitionOffer();
    ASSERT_TRUE(offer);
    EXPECT_EQ(offer->page, 0);
    EXPECT_EQ(offer->number, 9);
    EXPECT_EQ(offer->channelCount, 4);
    const Material before = m();
    ASSERT_TRUE(editor.takeFixtureDefinitions());
    history.seal();
    EXPECT_EQ(history.entryCount(), 1);
    EXPECT_EQ(history.undoTip(), "撤销：素材 1 通道定义 灯具 9");
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(m().channelFunction(k), (std::array{0, 21, 22, 0}[k - 1])) << k;
    EXPECT_EQ(m().channelCount(), 4);
    // Defined now: nothing said, nothing offered, a second press stores nothing.
    EXPECT_FALSE(editor.definitionsMissing());
    EXPECT_FALSE(editor.definitionOffer());
    EXPECT_FALSE(editor.takeFixtureDefinitions());
    EXPECT_EQ(history.entryCount(), 1);
    ASSERT_TRUE(history.undo().done);
    EXPECT_EQ(m(), before);
    EXPECT_TRUE(editor.definitionsMissing());

    // Without channels of its own the Material takes the fixture's count.
    m().setChannelCount(0);
    m().setMapped(2, 0, 9, false);
    const auto whole = editor.definitionOffer();
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->number, 3);
    EXPECT_EQ(whole->channelCount, 3);
    ASSERT_TRUE(editor.takeFixtureDefinitions());
    EXPECT_EQ(m().channelCount(), 3);
    EXPECT_EQ(m().channelFunction(1), 20);
    EXPECT_EQ(m().channelFunction(3), 22);
}

TEST_F(MaterialEditorUndoTest, ADragIsOneEntryAndStoresThatChangeNothingLeaveNone) {
    const Material before = m();
    for (int v = 1; v <= 50; ++v)
        editor.enterValue(2, v * 5);
    EXPECT_EQ(history.entryCount(), 1);
    EXPECT_EQ(history.undoTip(), "撤销：素材 1 通道 2");
    // Another channel while the drag is still open is an entry of its own.
    editor.wheelStep(1, 3);
    EXPECT_EQ(history.entryCount(), 2);
    history.seal();
    editor.enterValue(3, 9);
    EXPECT_EQ(history.entryCount(), 3);

    // Refused typing, a value where the fixture has no channel, a view change: nothing.
    EXPECT_FALSE(editor.typeValue(2, "256"));
    editor.enterValue(9, 5);
    editor.selectStep(2);
    editor.rightClickFixture(3);
    EXPECT_EQ(editor.typeJumpSize("x"), FieldMark::Invalid);
    EXPECT_EQ(history.entryCount(), 3);

    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(history.undo().done);
    EXPECT_EQ(m(), before);
    EXPECT_FALSE(history.undo().done);  // nothing left: nothing done
    EXPECT_EQ(m(), before);
}

TEST_F(MaterialEditorUndoTest, UndoShowsTheEditedStepAndFixtureAndKeepsTheWindowValid) {
    editor.leftClickFixture(3);
    editor.selectStep(1);
    editor.enterValue(4, 200);
    editor.setChannelPage(1);
    editor.selectStep(0);
    editor.leftClickFixture(1);
    ASSERT_EQ(history.entryCount(), 1);
    ASSERT_TRUE(history.undo().done);
    EXPECT_EQ(editor.currentStep(), 2);
    EXPECT_EQ(editor.shownFixture(), 3);
    EXPECT_EQ(editor.channelPage(), 0);  // 4 channels: the second page shows none
    EXPECT_EQ(m().value(2, 3, 4), 0);

    // The Steps an undo takes away leave the current Step on the last one there is.
    editor.selectStep(2);
    ASSERT_TRUE(editor.addStep(false).done);
    ASSERT_EQ(editor.currentStep(), 4);
    editor.clickDefinition(4);
    ASSERT_TRUE(history.undo().done);
    EXPECT_EQ(editor.currentStep(), 3);
    EXPECT_EQ(m().stepCount(), 3);
    EXPECT_EQ(editor.definingChannel(), 4);

    // A redo that takes the picker's channel away closes the picker.
    ASSERT_EQ(editor.typeChannelCount("2"), FieldMark::Normal);
    ASSERT_TRUE(history.undo().done);
    editor.clickDefinition(4);
    ASSERT_TRUE(history.redo().done);
    EXPECT_EQ(editor.definingChannel(), 0);

    // An undo of another Material's entry shows that Material.
    editor.open(2, 5, "夜场", "第二");
    editor.enterValue(1, 1);  // Material 17 has no Virtual Fixtures: nothing
    ASSERT_TRUE(history.undo().done);
    EXPECT_EQ(editor.module(), 1);
    EXPECT_EQ(editor.slot(), 1);
    EXPECT_EQ(editor.number(), 1);
    EXPECT_EQ(m().channelCount(), 4);
}

TEST_F(MaterialEditorUndoTest, UndoOfAnotherEffectsMaterialOpensItsBankFirst) {
    editor.enterValue(1, 11);
    history.seal();
    const QByteArray edited = bytes();
    ASSERT_TRUE(switchEffect(2, effect, *bank, lib, images).done);
    editor.open(1, 2, "二", "一");
    editor.typeFixtureCount("1");
    editor.typeChannelCount("1");
    editor.enterValue(1, 22);
    ASSERT_EQ(history.entryCount(), 4);
    const QByteArray second = bytes();

    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(history.undo().done);
    EXPECT_EQ(effect, 2);
    ASSERT_TRUE(history.undo().done);
    EXPECT_EQ(effect, 1);
    EXPECT_EQ(editor.slot(), 1);
    EXPECT_EQ(m().value(1, 1, 1), 0);
    EXPECT_FALSE(images.has(2));  // Effect 2's Material undone to nothing: no image

    ASSERT_TRUE(history.redo().done);
    EXPECT_EQ(bytes(), edited);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(history.redo().done);
    EXPECT_EQ(effect, 2);
    EXPECT_EQ(editor.slot(), 2);
    EXPECT_EQ(bytes(), second);
}

TEST_F(MaterialEditorUndoTest, TheBoundDropsTheOldestEntries) {
    EditHistory bounded(EditHistoryLimits{5, std::size_t{64} << 20});
    editor.setHistory({&bounded, [] { return 1; }, {}, {}});
    for (int v = 1; v <= 8; ++v) {
        editor.enterValue(1, v);
        bounded.seal();
    }
    EXPECT_EQ(bounded.entryCount(), 5);
    while (bounded.undo().done) {
    }
    EXPECT_EQ(m().value(1, 1, 1), 3);  // edits 1-3 went

    // Memory: a Material of 40 x 32 values in 100 Steps takes some 128 KB a snapshot.
    m() = test::sized(40, 32, 100);
    for (int step = 1; step <= 100; ++step)
        for (std::uint8_t& value : m().stepValues(step))
            value = 1;
    EditHistory small(EditHistoryLimits{200, std::size_t{1} << 20});
    editor.setHistory({&small, [] { return 1; }, {}, {}});
    for (int v = 1; v <= 20; ++v) {
        editor.enterValue(1, v);
        small.seal();
    }
    EXPECT_LT(small.entryCount(), 10);
    EXPECT_LE(small.bytes(), std::size_t{1} << 20);
}

}  // namespace
}  // namespace kx
