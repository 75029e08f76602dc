#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLineEdit>
#include <QStyleHints>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "shell/caret_rest.h"

namespace kx {
namespace {

// Counts the repaints of a focused text box: while its caret blinks, one each half period.
class PaintCount : public QObject {
  public:
    explicit PaintCount(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(o, e);
    }
    int paints = 0;
};

int paintsOver(PaintCount& count, int ms) {
    const int before = count.paints;
    QTest::qWait(ms);
    return count.paints - before;
}

// Waits that poll rather than pause: on a loaded machine (the suite runs tests side by side, under
// a sanitizer) a timer fires late, and only the order of what happens is the box's behaviour.
TEST(CaretRest, AFocusedBoxStopsBlinkingWithoutInputAndBlinksAgainWithIt) {
    constexpr int kRestMs = 1000;
    constexpr int kPatienceMs = 10000;
    QStyleHints* hints = QGuiApplication::styleHints();
    const int desktop = hints->cursorFlashTime();
    hints->setCursorFlashTime(60);
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* box = new QLineEdit("12", &window);
        layout->addWidget(box);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        PaintCount count(box);

        CaretRest rest(std::chrono::milliseconds{kRestMs});
        EXPECT_GE(paintsOver(count, 200), 3) << "the caret blinks after the focus came";
        EXPECT_TRUE(QTest::qWaitFor([hints] { return hints->cursorFlashTime() == 0; }, kPatienceMs))
            << "no input: the caret comes to rest";
        // The last blink's repaint may still be on its way when the blinking stops.
        QTest::qWait(100);
        EXPECT_EQ(paintsOver(count, 300), 0) << "no input for a while: the caret rests";

        rest.input();
        EXPECT_EQ(hints->cursorFlashTime(), 60);
        EXPECT_GE(paintsOver(count, 200), 3) << "the next key or click: it blinks again";

        // Going, it leaves the desktop's blinking as it found it.
        EXPECT_TRUE(
            QTest::qWaitFor([hints] { return hints->cursorFlashTime() == 0; }, kPatienceMs));
    }
    EXPECT_EQ(hints->cursorFlashTime(), 60);
    hints->setCursorFlashTime(desktop);
}

}  // namespace
}  // namespace kx
