#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>

#include "diag/developer_console.h"
#include "diag/developer_console_window.h"
#include "diag/test_console.h"
#include "diag/test_console_view.h"
#include "link/link_fixture.h"
#include "shell/appearance_view.h"

namespace kx {
namespace {

using test::bytesOf;

// The consoles against an in-process simulated Controller on loopback.
class ConsoleTest : public test::LinkFixture {
  protected:
    // Clicks a button and waits until the Controller has seen what it sent (or that nothing
    // came): the bodies of the commands that arrived meanwhile.
    QList<QByteArray> click(QWidget* root, const QString& name) {
        auto* b = root->findChild<QPushButton*>(name);
        EXPECT_NE(b, nullptr) << name.toStdString();
        if (!b) return {};
        return during([&] { QTest::mouseClick(b, Qt::LeftButton); });
    }
    QList<QByteArray> during(const std::function<void()>& act) {
        const std::size_t before = sim->records().size();
        act();
        platform.pumpUntil([&] { return sim->records().size() > before; }, 300);
        platform.pumpFor(20);
        QList<QByteArray> bodies;
        for (std::size_t i = before; i < sim->records().size(); ++i) {
            bodies << sim->records()[i].body;
        }
        return bodies;
    }

    Appearance appearance;
};

class TestConsoleTest : public ConsoleTest {
  protected:
    void SetUp() override {
        ConsoleTest::SetUp();
        view = std::make_unique<TestConsoleView>(
            *link, appearance,
            [](int n) {
                if (n == 2) return std::pair{QString("迎宾"), false};
                if (n == 31) return std::pair{QString("全开"), true};
                return std::pair{QString(), false};
            },
            [this](QWidget*) { ++shown; });
        // Wired as the program wires the console: its live output, its replies, its entry.
        LiveDmx::ViewOutput drums;
        drums.compose = [this](DmxFrame&) { view->console().Fun_自动模拟鼓点(); };
        drums.keepsSerialTest = true;
        link->live().defineView(kConsoleView, drums);
        link->addReplyHandler([this](std::uint8_t code, std::span<const std::uint8_t> data) {
            view->onReply(code, data);
        });
    }
    void enter() {
        link->setView(kConsoleView);
        view->Fun_窗体载入();
    }
    static constexpr int kConsoleView = 10;
    static constexpr int kOtherView = 4;
    QPlainTextEdit* box(const char* name) { return view->findChild<QPlainTextEdit*>(name); }

    std::unique_ptr<TestConsoleView> view;
    int shown = 0;
};

TEST_F(TestConsoleTest, OpeningSwitchesTheSerialTestOnAndNamesTheScenes) {
    EXPECT_EQ(during([&] { enter(); }), QList<QByteArray>{bytesOf({0xCE, 0x19, 0x88})});
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(link->live().view(), kConsoleView);
    EXPECT_EQ(view->sceneButton(1)->text(), "1");
    EXPECT_EQ(view->sceneButton(2)->text(), "2-迎宾");
    EXPECT_EQ(view->sceneButton(31)->text(), "[31-全开]");
    EXPECT_EQ(view->findChildren<QPushButton*>(QRegularExpression("^Command场景\\d+$")).size(), 39);
    // Another view switches the test function off.
    EXPECT_EQ(during([&] { link->setView(kOtherView); }),
              QList<QByteArray>{bytesOf({0xCE, 0x19, 0x44})});
    EXPECT_EQ(click(view.get(), "Command打开测试"), QList<QByteArray>{bytesOf({0xCE, 0x19, 0x88})});
}

TEST_F(TestConsoleTest, SceneButtonsCallScenesOnlyWhileNotConnected) {
    EXPECT_EQ(click(view.get(), "Command场景31"), QList<QByteArray>{bytesOf({0xCE, 0x12, 0x1F})});
    connectLink();
    EXPECT_TRUE(click(view.get(), "Command场景31").isEmpty());
}

TEST_F(TestConsoleTest, EveryButtonSendsItsCommand) {
    using L = QList<QByteArray>;
    EXPECT_EQ(click(view.get(), "Command排风0"), L{bytesOf({0xCE, 0x25, 0x01, 0x00})});
    EXPECT_EQ(click(view.get(), "Command排风1"), L{bytesOf({0xCE, 0x25, 0x01, 0x01})});
    EXPECT_EQ(click(view.get(), "Command空调制冷制热1"), L{bytesOf({0xCE, 0x25, 0x02, 0x01})});
    EXPECT_EQ(click(view.get(), "Command空调风速3"), L{bytesOf({0xCE, 0x25, 0x03, 0x03})});
    EXPECT_EQ(click(view.get(), "Command音源0"), L{bytesOf({0xCE, 0x27, 0x01})});
    EXPECT_EQ(click(view.get(), "Command音源2"), L{bytesOf({0xCE, 0x27, 0x03})});
    for (const ConsoleButton& key : kVodKeyButtons) {
        EXPECT_EQ(click(view.get(), "Command_内部_keyd指令_to_vod" + QString::number(key.index)),
                  L{bytesOf({0xCE, 0x22, key.index})});
    }
    const std::map<QString, int> fixed{{"Command密集鼓点", 0x14}, {"Command喝彩", 0x15},
                                       {"Command倒彩", 0x16},     {"Command烟机", 0x17},
                                       {"Command摇麦", 0x18},     {"Command模拟低音", 0x11}};
    for (const auto& [name, code] : fixed) {
        EXPECT_EQ(click(view.get(), name), L{bytesOf({0xCE, code})}) << name.toStdString();
    }
    EXPECT_EQ(view->findChild<QPushButton*>("Command模拟低音")->text(), "手动低音");
}

TEST_F(TestConsoleTest, SerialMonitorsSendCheckAndShowTheEcho) {
    enter();  // test function on: the Controller echoes serial data
    view->findChild<QLineEdit*>("Text发送墙板测试")->setText("01 0A ff");
    EXPECT_EQ(click(view.get(), "Command发送墙板测试"),
              QList<QByteArray>{bytesOf({0xCE, 0x19, 0xA1, 0x01, 0x0A, 0xFF})});
    ASSERT_TRUE(
        platform.pumpUntil([&] { return !box("Text接收墙板测试")->toPlainText().isEmpty(); }));
    EXPECT_EQ(box("Text接收墙板测试")->toPlainText(), "01 0A FF ");

    view->findChild<QLineEdit*>("Text_VOD发送测试")->setText("0G");
    EXPECT_TRUE(click(view.get(), "Command_VOD发送测试").isEmpty());
    EXPECT_EQ(box("Text_VOD接收测试")->toPlainText(), "\n-----数据错误-----\n");
    click(view.get(), "Command_VOD发送测试_清空");
    EXPECT_EQ(box("Text_VOD接收测试")->toPlainText(), "");

    // A reply 0xCE 0x19 0xA2 0x01 0xAB goes to the VOD monitor.
    link->dispatchReply(0xCE, std::array<std::uint8_t, 4>{0x19, 0xA2, 0x01, 0xAB});
    EXPECT_EQ(box("Text_VOD接收测试")->toPlainText(), "01 AB ");
    // Too short, another sub-command or another port: nothing.
    link->dispatchReply(0xCE, std::array<std::uint8_t, 2>{0x19, 0xA2});
    link->dispatchReply(0xCE, std::array<std::uint8_t, 3>{0x20, 0xA2, 0x01});
    link->dispatchReply(0xCE, std::array<std::uint8_t, 3>{0x19, 0xA3, 0x01});
    EXPECT_EQ(box("Text_VOD接收测试")->toPlainText(), "01 AB ");
}

TEST_F(TestConsoleTest, AutomaticDrumBeatsFollowTheOutputTick) {
    auto* drum = view->findChild<QPushButton*>("Command自动鼓点");
    EXPECT_EQ(drum->text(), "自动停止");
    enter();
    auto beatsOver = [&](int ticks) {
        return during([&] {
                   for (int i = 0; i < ticks; ++i)
                       link->outputTick();
               })
            .count(bytesOf({0xCE, 0x11}));
    };
    EXPECT_EQ(beatsOver(20), 0);
    QTest::mouseClick(drum, Qt::LeftButton);
    EXPECT_EQ(drum->text(), "自动0.5秒");
    EXPECT_EQ(buttonBackColour(drum), kAutoDrumColourOn);
    EXPECT_EQ(beatsOver(6), 1);   // the sixth tick
    EXPECT_EQ(beatsOver(10), 2);  // then every fifth
    QTest::mouseClick(drum, Qt::LeftButton);
    EXPECT_EQ(drum->text(), "自动1秒");
    EXPECT_EQ(beatsOver(20), 2);
    QTest::mouseClick(drum, Qt::LeftButton);
    EXPECT_EQ(drum->text(), "自动停止");
    EXPECT_EQ(buttonBackColour(drum), kAutoDrumColourOff);
    EXPECT_EQ(beatsOver(30), 0);
    // Away from the console no beat is due either.
    QTest::mouseClick(drum, Qt::LeftButton);
    link->setView(kOtherView);
    EXPECT_EQ(beatsOver(30), 0);
}

class DeveloperConsoleTest : public ConsoleTest {
  protected:
    void SetUp() override {
        ConsoleTest::SetUp();
        window = std::make_unique<DeveloperConsoleWindow>(*link, appearance);
        window->Fun_窗体载入();
        list = window->findChild<QListWidget*>("List指令列表");
    }
    QList<QByteArray> clickLine(const QString& text) {
        const auto items = list->findItems(text, Qt::MatchExactly);
        EXPECT_FALSE(items.isEmpty()) << text.toStdString();
        if (items.isEmpty()) return {};
        list->scrollToItem(items.first());
        const QPoint centre = list->visualItemRect(items.first()).center();
        return during([&] { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre); });
    }

    std::unique_ptr<DeveloperConsoleWindow> window;
    QListWidget* list = nullptr;
};

TEST_F(DeveloperConsoleTest, ListLinesSendTheirCommandPart) {
    EXPECT_EQ(list->count(), developerCommandList().size());
    EXPECT_EQ(list->item(0)->text(), "C4 -重启");
    EXPECT_EQ(clickLine("C4 -重启"), QList<QByteArray>{bytesOf({0xC4})});
    EXPECT_EQ(clickLine("CE12 0A -场景10"), QList<QByteArray>{bytesOf({0xCE, 0x12, 0x0A})});
    EXPECT_EQ(window->findChild<QLineEdit*>("Text直接发送数据")->text(), "CE12 0A ");
    EXPECT_EQ(clickLine("CE51 11223344  -Nec发送"),
              QList<QByteArray>{bytesOf({0xCE, 0x51, 0x11, 0x22, 0x33, 0x44})});
    // A separator line sends a packet with an empty body.
    EXPECT_EQ(clickLine(""), QList<QByteArray>{QByteArray()});
    // Text that is not hex sends nothing.
    window->findChild<QLineEdit*>("Text直接发送数据")->setText("XY");
    EXPECT_TRUE(click(window.get(), "Command直接发送数据").isEmpty());
}

TEST_F(DeveloperConsoleTest, SimulatedCommandFromCodeAndDataText) {
    window->findChild<QLineEdit*>("Text模拟指令")->setText("ce");
    window->findChild<QLineEdit*>("Text模拟数据")->setText("12 01");
    EXPECT_EQ(click(window.get(), "Command模拟发送指令"),
              QList<QByteArray>{bytesOf({0xCE, 0x12, 0x01})});
    EXPECT_EQ(window->logText(), "\r\n");
    window->findChild<QLineEdit*>("Text模拟数据")->setText("1");
    EXPECT_EQ(click(window.get(), "Command模拟发送指令"), QList<QByteArray>{bytesOf({0xCE, 0x01})});
    window->findChild<QLineEdit*>("Text模拟指令")->setText("1CE");
    EXPECT_TRUE(click(window.get(), "Command模拟发送指令").isEmpty());
    window->findChild<QLineEdit*>("Text模拟指令")->setText("ce");
    window->findChild<QLineEdit*>("Text模拟数据")->setText("zz");
    EXPECT_TRUE(click(window.get(), "Command模拟发送指令").isEmpty());
}

TEST_F(DeveloperConsoleTest, DiagnosticTextOnlyWhileOpenAndNoAnnounceMeanwhile) {
    sim->sendDiagnostic(bytesOf({0x01, 0x0A}));
    ASSERT_TRUE(platform.pumpUntil([&] { return window->logText() == "010A\r\n"; }));
    EXPECT_EQ(window->findChild<QPlainTextEdit*>("Text接收信息")->toPlainText(), "010A\n");
    EXPECT_TRUE(during([&] { link->announceTick(); }).isEmpty());

    window->findChild<QCheckBox*>("Check暂停接收")->setChecked(true);
    sim->sendDiagnostic("paused");
    platform.pumpFor(100);
    window->findChild<QCheckBox*>("Check暂停接收")->setChecked(false);

    window->close();
    EXPECT_FALSE(link->developerLogOpen());
    sim->sendDiagnostic(bytesOf({0x02}));
    platform.pumpFor(100);
    EXPECT_EQ(window->logText(), "010A\r\n");
    EXPECT_EQ(during([&] { link->announceTick(); }),
              QList<QByteArray>{bytesOf({0xCE, 0x13, 0x00})});

    click(window.get(), "Command清除");
    EXPECT_EQ(window->logText(), "");
}

TEST_F(DeveloperConsoleTest, TheLogKeepsItsNewestFiftyThousandCharacters) {
    EXPECT_EQ(limitLog(QString(60000, 'a')).size(), 60000);
    EXPECT_EQ(limitLog(QString(60001, 'a')).size(), 50000);
    const QString line = QString(998, 'x');  // 1,000 characters with the line break
    for (int i = 0; i < 60; ++i)
        window->Fun_信息_In(line);
    EXPECT_EQ(window->logText().size(), 60000);
    window->Fun_信息_In_no_enter("END");
    EXPECT_EQ(window->logText().size(), 50000);
    EXPECT_TRUE(window->logText().endsWith(line + "\r\nEND"));
    EXPECT_TRUE(
        window->findChild<QPlainTextEdit*>("Text接收信息")->toPlainText().endsWith("x\nEND"));
}

}  // namespace
}  // namespace kx
