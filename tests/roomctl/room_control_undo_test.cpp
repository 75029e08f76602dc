#include <gtest/gtest.h>

#include "roomctl/room_control_editor.h"

namespace kx {
namespace {

class RoomControlUndoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        editor.setHistory(&history, [this] { ++reveals; });
    }

    RoomControl room;
    ActionThresholds thresholds;
    SceneTable scenes;
    RoomControlEditor editor{room, thresholds, scenes, {}};
    EditHistory history;
    int reveals = 0;
};

TEST_F(RoomControlUndoTest, TypingACodeIsOneEntryAndALearntCodeAnother) {
    // Refused text on the way (too few digits) stores nothing and records nothing.
    for (const char* text : {"1", "12", "12 34", "12 34 56", "12 34 56 78"})
        editor.typeEffectorCode(2, text);
    EXPECT_EQ(history.entryCount(), 1);
    EXPECT_EQ(history.undoTip(), "撤销：效果器 音乐-");

    editor.focusKey(2);
    const std::uint8_t report[] = {0x50, 0x66, 9, 8, 7, 6};
    ASSERT_TRUE(editor.receiveReply(0xCE, report));
    EXPECT_EQ(history.entryCount(), 2);
    EXPECT_EQ(history.undoTip(), "撤销：效果器 音乐- 学习");

    ASSERT_TRUE(history.undo().done);
    EXPECT_EQ(room.effectorCodes[1], (EffectorCode{0x12, 0x34, 0x56, 0x78}));
    ASSERT_TRUE(history.undo().done);
    EXPECT_EQ(room.effectorCodes[1], EffectorCode{});
    EXPECT_EQ(reveals, 2);
}

TEST_F(RoomControlUndoTest, ListsNameTheirControlAndRefusalsRecordNothing) {
    editor.chooseEntry(RoomList::DjAudioSource, 3);
    EXPECT_EQ(history.undoTip(), "撤销：音源选择");
    history.seal();
    editor.chooseEntry(RoomList::XyDefaultLimit, 12);
    EXPECT_EQ(history.undoTip(), "撤销：XY动作限制");
    history.seal();
    editor.setCheck(9, true);
    EXPECT_EQ(history.undoTip(), "撤销：关闭多色门牌灯");
    EXPECT_EQ(history.entryCount(), 3);

    EXPECT_FALSE(editor.chooseEntry(RoomList::MicShake, 99));
    editor.setRelayOptionsEnabled(false);
    EXPECT_FALSE(editor.chooseRelaySource(2));
    editor.setCheck(9, true);  // already ticked
    EXPECT_EQ(history.entryCount(), 3);

    ASSERT_TRUE(history.undo().done);
    ASSERT_TRUE(history.undo().done);
    EXPECT_EQ(thresholds.xyDefaultLimit, ActionThresholds{}.xyDefaultLimit);
    EXPECT_EQ(room.djAudioSource, 3);
}

}  // namespace
}  // namespace kx
