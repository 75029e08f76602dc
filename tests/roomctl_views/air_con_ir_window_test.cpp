#include <gtest/gtest.h>

#include <QTest>

#include "roomctl/air_con_ir_window.h"
#include "support/fake_platform.h"
#include "support/widget_lookup.h"

namespace kx {
namespace {

using Bytes = std::vector<std::uint8_t>;

class AirConIrWindowTest : public test::FakePlatformTest {
  protected:
    void SetUp() override {
        window = std::make_unique<AirConIrWindow>(
            AirConIrWindow::Services{appearance,
                                     {fake, fake},
                                     [this](std::span<const std::uint8_t> args) {
                                         sent.emplace_back(args.begin(), args.end());
                                     },
                                     [](QWidget* v) { v->show(); },
                                     [this] { ++backs; }});
        window->resize(1280, 681);
        window->Fun_窗体载入();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void click(const QString& name) { test::clickNamed(window.get(), name); }

    Appearance appearance;
    std::unique_ptr<AirConIrWindow> window;
    std::vector<Bytes> sent;
    int backs = 0;
};

TEST_F(AirConIrWindowTest, LearnStopAndTheLearnedLine) {
    EXPECT_EQ(window->learnButton(3)->objectName(), "Command红外空调学习4");
    EXPECT_EQ(window->learnButton(3)->text(), "冷高风18度");
    EXPECT_EQ(window->testButton(0)->objectName(), "Command红外空调测试1");
    EXPECT_EQ(window->testButton(6)->text(), "热高风30度");
    click("Command红外空调学习4");
    EXPECT_EQ(window->feedbackBox()->toPlainText(), "正在学习【冷高风18度】");
    window->Fun_红外空调在线学习反馈(0xCE, Bytes{0x24, 0x02});
    EXPECT_EQ(window->feedbackBox()->toPlainText(), "正在学习【冷高风18度】 ->学习成功!\n");
    // Other reports are not for this window.
    window->Fun_红外空调在线学习反馈(0xCE, Bytes{0x50, 0x66, 1, 2, 3, 4});
    window->Fun_红外空调在线学习反馈(0xCE, Bytes{0x24});
    EXPECT_EQ(window->feedbackBox()->toPlainText(), "正在学习【冷高风18度】 ->学习成功!\n");
    click("Command停止学习");
    EXPECT_EQ(window->feedbackBox()->toPlainText(), "停止学习");
    EXPECT_EQ(sent, (std::vector<Bytes>{{0x24, 0x02, 0x03}, {0x24, 0x04}}));
    click("Command返回灯控");
    EXPECT_EQ(backs, 1);
}

TEST_F(AirConIrWindowTest, TestButtonsRestWhileTheStoredCodeGoesOut) {
    std::vector<bool> frameEnabled;
    int pressesDuringRest = 0;
    fake.onEvents = [&] {
        frameEnabled.push_back(window->testFrame()->isEnabled() ||
                               window->testButton(2)->isEnabled());
        // A press while the buttons rest does nothing.
        if (pressesDuringRest++ == 0) QTest::mouseClick(window->testButton(5), Qt::LeftButton);
    };
    click("Command红外空调测试3");
    fake.onEvents = nullptr;
    ASSERT_FALSE(frameEnabled.empty());
    EXPECT_TRUE(std::ranges::none_of(frameEnabled, [](bool on) { return on; }));
    EXPECT_EQ(sent, (std::vector<Bytes>{{0x24, 0x01, 0x02}}));
    EXPECT_TRUE(window->testFrame()->isEnabled());
    EXPECT_TRUE(window->testButton(2)->isEnabled());
    click("Command红外空调测试6");
    EXPECT_EQ(sent, (std::vector<Bytes>{{0x24, 0x01, 0x02}, {0x24, 0x01, 0x05}}));
}

}  // namespace
}  // namespace kx
