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

TEST(CaretRest, AFocusedBoxStopsBlinkingWithoutInputAndBlinksAgainWithIt) {
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

        CaretRest rest(std::chrono::milliseconds(250));
        EXPECT_GE(paintsOver(count, 200), 3) << "the caret blinks after the focus came";
        QTest::qWait(150);
        EXPECT_EQ(hints->cursorFlashTime(), 0);
        EXPECT_EQ(paintsOver(count, 300), 0) << "no input for a while: the caret rests";

        rest.input();
        EXPECT_EQ(hints->cursorFlashTime(), 60);
        EXPECT_GE(paintsOver(count, 200), 3) << "the next key or click: it blinks again";

        // Going, it leaves the desktop's blinking as it found it.
        QTest::qWait(200);
        EXPECT_EQ(hints->cursorFlashTime(), 0);
    }
    EXPECT_EQ(hints->cursorFlashTime(), 60);
    hints->setCursorFlashTime(desktop);
}

}  // namespace
}  // namespace kx
