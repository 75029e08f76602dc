#include <gtest/gtest.h>

#include "base/file_io.h"
#include "base/paths.h"
#include "material_test_util.h"
#include "materials/step_operations.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

using test::Bytes;
using test::sized;

class StepOperationsTest : public test::FakePlatformTest {
  protected:
    Material m = sized(1, 2, 5);
    int current = 1;
    int refreshes = 0;
    StepContext ctx{m, current, AppPaths::under(fake.programDir()).stepClipboard,
                    [this] { ++refreshes; }};

    void SetUp() override {
        for (int s = 1; s <= 5; ++s) {
            m.setStepTime(s, s);
            m.setValue(s, 1, 1, 10 * s);
        }
    }
    // Step s's first value / 10, for every Step.
    std::vector<int> order() const {
        std::vector<int> v;
        for (int s = 1; s <= m.stepCount(); ++s)
            v.push_back(m.value(s, 1, 1) / 10);
        return v;
    }
};

TEST_F(StepOperationsTest, AddAppendsOrInsertsAfterTheCurrentStep) {
    current = 5;
    ASSERT_TRUE(addStep(ctx, false, 25).done);
    EXPECT_EQ(current, 6);
    EXPECT_EQ(m.stepTime(6), 25);
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 3, 4, 5, 0}));

    current = 2;
    ASSERT_TRUE(addStep(ctx, false, 9).done);
    EXPECT_EQ(current, 3);
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 0, 3, 4, 5, 0}));
    EXPECT_EQ(m.stepTime(4), 3);  // times move with their values
    EXPECT_GE(refreshes, 2);
}

TEST_F(StepOperationsTest, CopyAddDuplicatesTheCurrentStepAndFlagsStayInPlace) {
    m.setFadeToNext(2, 1);
    current = 1;
    ASSERT_TRUE(addStep(ctx, false, 10).done);
    EXPECT_EQ(m.stepInfo(2).fadeToNext, 1);  // the new Step 2 has the flag ...
    EXPECT_EQ(m.stepInfo(3).fadeToNext, 0);  // ... the moved old Step 2 has not
    deleteStep(ctx);                         // back to five Steps

    current = 3;
    ASSERT_TRUE(addStep(ctx, true, 99).done);
    EXPECT_EQ(m.stepCount(), 6);
    EXPECT_EQ(current, 4);
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 3, 3, 4, 5}));
    EXPECT_EQ(m.stepTime(4), 3);
}

TEST_F(StepOperationsTest, AddRefusesTheSixHundredAndFirstStep) {
    m.setStepCount(600);
    current = 600;
    EXPECT_EQ(addStep(ctx, false, 10).message, "已经是最大步数!!!");
    EXPECT_EQ(m.stepCount(), 600);
}

TEST_F(StepOperationsTest, DeleteKeepsTheRightStepCurrent) {
    current = 5;
    deleteStep(ctx);
    EXPECT_EQ(current, 4);
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 3, 4}));
    current = 2;
    deleteStep(ctx);
    EXPECT_EQ(current, 2);
    EXPECT_EQ(order(), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(m.stepTime(2), 3);

    Material one = sized(1, 1, 1);
    one.setValue(1, 1, 1, 7);
    one.setValue(0, 1, 1, 7);
    int step = 1;
    StepContext single{one, step, ctx.clipboardPath, {}};
    deleteStep(single);
    EXPECT_EQ(step, 0);
    EXPECT_EQ(one.stepCount(), 0);
    EXPECT_EQ(one.value(0, 1, 1), 0);
}

TEST_F(StepOperationsTest, NavigationAndTheFirstStepOnDemand) {
    current = 5;
    nextStep(ctx);
    EXPECT_EQ(current, 5);
    previousStep(ctx);
    EXPECT_EQ(current, 4);
    current = 1;
    previousStep(ctx);
    EXPECT_EQ(current, 1);  // a Material with Steps does not go to the scratch Step
    selectStep(ctx, 2);
    EXPECT_EQ(current, 3);

    Material empty = sized(1, 1, 0);
    int step = 0;
    StepContext first{empty, step, ctx.clipboardPath, {}};
    empty.setValue(0, 1, 1, 200);
    autoAddFirstStep(first);
    EXPECT_EQ(empty.stepCount(), 1);
    EXPECT_EQ(step, 1);
    EXPECT_EQ(empty.value(1, 1, 1), 200);
}

TEST_F(StepOperationsTest, StepClipboardIsByteExact) {
    m.setFadeToNext(1, 1);
    m.setJumpMark(2, 1);
    m.setValue(1, 1, 2, 0x14);
    m.setValue(2, 1, 1, 0);
    Bytes e;
    e({0xF1, 0x05, 0x01, 0xA1})({0xA1})({1, 2})({2}).zeros(200);  // tag, format, F, C, n, reserved
    e.u16(1)({1, 0}).zeros(20)({10, 0x14});                       // Step 1: time, fade, values
    e.u16(2)({0, 1}).zeros(20)({0, 0});                           // Step 2: marked, dark
    EXPECT_EQ(test::toVector(buildStepClipboard(m, 1, 2)), e.v);

    current = 1;
    ASSERT_TRUE(copySteps(ctx, 2).done);
    EXPECT_EQ(test::toVector(*readWholeFile(ctx.clipboardPath)), e.v);
}

TEST_F(StepOperationsTest, PasteOverwritesAndGrows) {
    m.setStepCount(6);
    current = 1;
    ASSERT_TRUE(copySteps(ctx, 3).done);
    current = 5;
    ASSERT_TRUE(pasteSteps(ctx, 1).done);
    EXPECT_EQ(m.stepCount(), 7);
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 3, 4, 1, 2, 3}));
    EXPECT_EQ(m.stepTime(7), 3);

    current = 2;
    ASSERT_TRUE(pasteStepsAtEnd(ctx, 1, 10).done);
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 3, 4, 1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(current, 8);
}

TEST_F(StepOperationsTest, PasteRefusalsChangeNothing) {
    EXPECT_EQ(pasteSteps(ctx, 1).message, "粘贴错误！");
    writeWholeFile(ctx.clipboardPath, QByteArray(300, '\x01'));
    EXPECT_EQ(pasteSteps(ctx, 1).message, "粘贴错误！！！");

    Material eight = sized(8, 2, 1);
    int step = 1;
    StepContext other{eight, step, ctx.clipboardPath, {}};
    ASSERT_TRUE(copySteps(other, 1).done);
    const Material before = m;
    EXPECT_EQ(pasteSteps(ctx, 1).message, "灯具数不一致！！！");
    EXPECT_EQ(pasteStepsAtEnd(ctx, 1, 10).message, "灯具数不一致！！！");  // before a Step is added
    EXPECT_EQ(m, before);
    Material three = sized(1, 3, 1);
    StepContext wide{three, step, ctx.clipboardPath, {}};
    ASSERT_TRUE(copySteps(wide, 1).done);
    EXPECT_EQ(pasteSteps(ctx, 1).message, "通道数一致！！！");

    ASSERT_TRUE(copySteps(ctx, 1).done);
    QByteArray cut = *readWholeFile(ctx.clipboardPath);
    cut.chop(1);
    writeWholeFile(ctx.clipboardPath, cut);
    EXPECT_EQ(pasteSteps(ctx, 1).message, "粘贴错误！！！");
    EXPECT_EQ(m, before);

    // A full Material takes no tail paste; a clipboard that cannot be written takes no copy.
    ASSERT_TRUE(copySteps(ctx, 1).done);
    m.setStepCount(600);
    const Material full = m;
    EXPECT_EQ(pasteStepsAtEnd(ctx, 1, 10).message, "已经是最大步数!!!");
    EXPECT_EQ(m, full);
    StepContext nowhere{m, current, fake.programDir() + "/no such folder/SC_COPY", {}};
    EXPECT_EQ(copySteps(nowhere, 1).message, "复制失败！！！");
    EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(StepOperationsTest, CopyCheckMessagesInOrder) {
    EXPECT_EQ(checkStepCopy(sized(0, 0, 1), 0).message, "灯具数量不能为0");
    EXPECT_EQ(checkStepCopy(sized(1, 0, 1), 0).message, "通道数量不能为0");
    EXPECT_EQ(checkStepCopy(sized(1, 1, 1), 0).message, "复制步数不能为0");
    EXPECT_TRUE(checkStepCopy(sized(1, 1, 1), 60).done);

    // A run past Step 600 stops there.
    m.setStepCount(600);
    current = 599;
    ASSERT_TRUE(copySteps(ctx, 60).done);
    EXPECT_EQ(readWholeFile(ctx.clipboardPath)->at(7), 2);
}

TEST_F(StepOperationsTest, TemporaryChannelButtonRefusesAFullList) {
    for (int code = 1; code <= 20; ++code)
        EXPECT_TRUE(toggleTemporaryChannel(m, code).done);
    const Outcome full = toggleTemporaryChannel(m, 30);
    EXPECT_FALSE(full.done);
    EXPECT_EQ(full.message, "最多支持20个通道");
    EXPECT_FALSE(m.hasTempChannel(30));
    EXPECT_TRUE(toggleTemporaryChannel(m, 3).done);
    EXPECT_FALSE(m.hasTempChannel(3));
    EXPECT_TRUE(fake.messages.isEmpty());
}

}  // namespace
}  // namespace kx
