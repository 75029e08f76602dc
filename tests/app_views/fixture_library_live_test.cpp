#include <gtest/gtest.h>

#include <QTest>

#include "library_in_shell.h"

namespace kx {
namespace {

// The Fixture Library editor as the program plugs it in, in front and connected: what the
// technician sets is on the Controller's frames by the next output tick.
class FixtureLibraryLiveTest : public test::LibraryInShell {
  protected:
    void SetUp() override {
        LibraryInShell::SetUp();

        // Two patched fixtures on page 1 (B 10, D 510 running into VJ) and one on page 2 (A 1).
        patch(0, 3, 1, 10, {11, 12, 13});
        patch(0, 8, 3, 510, {81, 82, 83, 84, 85, 86});
        patch(1, 2, 0, 1, {21, 22});
        connectLink();
        QTest::mouseClick(shell->titleBar().functionButton(3), Qt::LeftButton);
        ASSERT_EQ(window.currentView(), view);
    }

    // One output tick, then the frame the Controller received, rebuilt from its three parts.
    DmxFrame tickAndReceive() {
        const std::size_t before = sim->frameTimesNs(cmd::kDmxPortVJ).size();
        link->outputTick();
        EXPECT_TRUE(
            platform.pumpUntil([&] { return sim->frameTimesNs(cmd::kDmxPortVJ).size() > before; }));
        DmxFrame frame{};
        const QByteArray ab = sim->lastFrame(cmd::kDmxPortsAB);
        const QByteArray cd = sim->lastFrame(cmd::kDmxPortsCD);
        const QByteArray vj = sim->lastFrame(cmd::kDmxPortVJ);
        for (int i = 0; i < 1024; ++i) {
            frame[1 + i] = static_cast<std::uint8_t>(ab[i]);
            frame[1025 + i] = static_cast<std::uint8_t>(cd[i]);
        }
        for (int i = 0; i < 512; ++i)
            frame[2049 + i] = static_cast<std::uint8_t>(vj[i]);
        return frame;
    }

    DmxFrame expected() {
        DmxFrame frame{};
        composeFixturePreview(show.library, show.groups, view->editor().state().preview, frame);
        frame[0] = 0;
        std::fill(frame.begin() + 2561, frame.end(), 0);
        return frame;
    }

    void click(const QString& name) {
        auto* b = view->findChild<QAbstractButton*>(name);
        ASSERT_NE(b, nullptr) << name.toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
    }
};

TEST_F(FixtureLibraryLiveTest, TheFramesCarryThePreviewOfLibraryCurrentFixtureAndGroup) {
    EXPECT_EQ(link->live().view(), 5);
    DmxFrame got = tickAndReceive();
    EXPECT_EQ(got, expected());
    EXPECT_EQ(got[524], 13);   // port B, address 10, channel 3
    EXPECT_EQ(got[2051], 86);  // port D, address 510, channel 6: into the VJ port
    EXPECT_EQ(got[1], 21);     // page 2's fixture on A 1

    // A fader move on the current fixture is on the next frame set.
    QTest::mouseClick(view->fixtureButton(3), Qt::LeftButton);
    QTest::mouseClick(view->channels().fader(1), Qt::LeftButton, {}, QPoint(10, 1));
    got = tickAndReceive();
    EXPECT_EQ(got[522], 255);
    EXPECT_EQ(got, expected());

    // "只显示当前灯具": fixture 3 of page 1 alone.
    click("Check只显示当前灯具");
    got = tickAndReceive();
    EXPECT_EQ(got, expected());
    EXPECT_EQ(got[2046], 0);
    EXPECT_EQ(got[523], 12);
    // The adjust values of the same fixture.
    click("Option数值选择2");
    got = tickAndReceive();
    EXPECT_EQ(got[523], 112);
    EXPECT_EQ(got, expected());
    click("Option数值选择1");
    click("Check只显示当前灯具");

    // The group panel plays only the open group's patched members: fixture 8 (id 8) and page
    // 2's fixture 2 (id 102).
    click("Command灯具分组");
    click("Command灯具分组2");
    QTest::mouseClick(view->fixtureButton(8), Qt::LeftButton);
    click("Command灯库页2");
    QTest::mouseClick(view->fixtureButton(2), Qt::LeftButton);
    ASSERT_TRUE(show.groups.isMember(2, 8));
    ASSERT_TRUE(show.groups.isMember(2, 102));
    got = tickAndReceive();
    EXPECT_EQ(got, expected());
    EXPECT_EQ(got[522], 0);
    EXPECT_EQ(got[2046], 81);
    EXPECT_EQ(got[2], 22);

    // Closing the panel enters the view again: the whole library once more.
    click("Command灯具分组隐藏");
    EXPECT_EQ(link->live().view(), 5);
    got = tickAndReceive();
    EXPECT_EQ(got, expected());
    EXPECT_EQ(got[522], 255);
}

TEST_F(FixtureLibraryLiveTest, TheWheelStepsTheFocusedChannelOnTheFixtures) {
    QTest::mouseClick(view->fixtureButton(3), Qt::LeftButton);
    QTest::mouseClick(view->channels().channelLabel(2), Qt::LeftButton);
    EXPECT_EQ(wheel.wheelTarget, 1002);
    wheel.onWheel(WheelRouter::kNotch);
    wheel.onWheel(WheelRouter::kNotch);
    EXPECT_EQ(show.library.at(0, 3).testValues[1], 14);
    EXPECT_EQ(view->channels().valueBox(2)->text(), "14");
    EXPECT_EQ(tickAndReceive()[523], 14);
}

TEST_F(FixtureLibraryLiveTest, AnUndoneEditIsOnTheFixturesByTheNextTick) {
    QTest::mouseClick(view->fixtureButton(3), Qt::LeftButton);
    click("Command变2552");
    ASSERT_EQ(tickAndReceive()[523], 255);

    QTest::keyClick(view->fixtureButton(3), Qt::Key_Z, Qt::ControlModifier);
    DmxFrame got = tickAndReceive();
    EXPECT_EQ(got[522], 11);
    EXPECT_EQ(got[523], 12);
    EXPECT_EQ(got[524], 13);
    EXPECT_EQ(got, expected());

    // The address put back moves the values back to where they played.
    QTest::mouseClick(view->findChild<QPushButton*>("Command灯具地址+20"), Qt::LeftButton);
    ASSERT_EQ(tickAndReceive()[542], 11);
    QTest::keyClick(view->fixtureButton(3), Qt::Key_Z, Qt::ControlModifier);
    got = tickAndReceive();
    EXPECT_EQ(got[542], 0);
    EXPECT_EQ(got[522], 11);
}

}  // namespace
}  // namespace kx
