#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "app/main_window.h"
#include "app/placeholder_view.h"
#include "app/splash_view.h"
#include "app/title_bar.h"
#include "app/version_notes.h"
#include "app/version_notes_window.h"
#include "base/file_io.h"
#include "base/settings.h"
#include "shell/appearance_view.h"
#include "shell/fader_view.h"
#include "shell/picture_store.h"
#include "shell/wheel_hook.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

class ShellViewsTest : public test::FakePlatformTest {
  protected:
    AppPaths paths = AppPaths::under(fake.dir.path());
    void SetUp() override {
        fake.onEvents = [] { QCoreApplication::processEvents(); };
    }
};

TEST_F(ShellViewsTest, CaptionWithAndWithoutCustomisation) {
    MainWindow window([] {}, fake);
    window.setCaption(" ");
    EXPECT_EQ(window.windowTitle(), "KX-7420 A14.2    [   ]");
    window.setCaptionStyle(captionStyle(parseFullScheme("显示软件版本=灯光编程\r\n")));
    window.setCaption(paths.showFile);
    EXPECT_EQ(window.windowTitle(), "灯光编程    [ " + paths.showFile + " ]");
    window.setCaptionStyle(
        captionStyle(parseFullScheme("显示软件版本=灯光编程\r\n使用原来版本号=1")));
    window.setCaption(" ");
    EXPECT_EQ(window.windowTitle(), "灯光编程 A14.2    [   ]");
}

TEST_F(ShellViewsTest, ViewsAreHiddenUntilShownAndOneIsVisibleAtATime) {
    MainWindow window([] {}, fake);
    const PictureStore pictures = PictureStore::load(paths, Appearance{});
    auto* splash = new SplashView(pictures, false);
    auto* a = new PlaceholderView("ViewA", "灯库");
    auto* b = new PlaceholderView("ViewB", "场景");
    window.prepareView(splash, pictures.backgroundForViews);
    window.showView(splash);
    window.prepareView(a, pictures.backgroundForViews);
    window.prepareView(b, pictures.backgroundForViews);
    window.showFixed();
    EXPECT_EQ(window.size(), QSize(1280, 768));
    EXPECT_EQ(window.currentView(), splash);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_FALSE(a->isVisible());
    EXPECT_TRUE(a->autoFillBackground());
    window.showView(b);
    window.showView(b);  // again: nothing changes
    EXPECT_EQ(window.currentView(), b);
    EXPECT_TRUE(b->isVisible());
    EXPECT_FALSE(splash->isVisible());
    // Views sit below the title bar.
    EXPECT_EQ(b->mapTo(&window, QPoint(0, 0)), QPoint(0, MainWindow::kTitleBarHeight));

    QSignalSpy cb(splash, &SplashView::commandCbClicked);
    window.showView(splash);
    QTest::mouseClick(splash->commandButton(), Qt::LeftButton);
    EXPECT_EQ(cb.count(), 1);

    QWidget popup(nullptr, Qt::Window);
    popup.resize(400, 300);
    window.centreOverMain(&popup);
    EXPECT_TRUE(popup.isVisible());
    EXPECT_EQ(popup.pos() - window.mapToGlobal(QPoint(0, 0)), QPoint(440, 234));
}

TEST_F(ShellViewsTest, StandardButtonsRefuseTheTextColour) {
    QPushButton standard("x");
    standard.setObjectName("Command测试");
    EXPECT_EQ(setButtonTextColour(&standard, 0x0000FF), "Command测试的Style属性应设为1(Graphical)");
    EXPECT_FALSE(buttonTextColour(&standard));

    QPushButton graphical("y");
    makeGraphical(&graphical);
    graphical.setEnabled(false);
    EXPECT_EQ(setButtonTextColour(&graphical, 0x0000FF), "");  // only enabled buttons take it
    EXPECT_FALSE(buttonTextColour(&graphical));
    graphical.setEnabled(true);
    EXPECT_EQ(setButtonTextColour(&graphical, 0x0000FF), "");
    EXPECT_EQ(buttonTextColour(&graphical), Bgr{0x0000FF});
    EXPECT_TRUE(fake.messages.isEmpty());
    // Painting draws the caption itself, in red.
    graphical.resize(60, 30);
    setButtonBackColour(&graphical, 0x000000);
    graphical.setText("██");
    const QImage img = graphical.grab().toImage();
    bool red = false;
    for (int y = 0; y < img.height() && !red; ++y) {
        for (int x = 0; x < img.width() && !red; ++x)
            red = img.pixelColor(x, y) == QColor(255, 0, 0);
    }
    EXPECT_TRUE(red);
}

TEST_F(ShellViewsTest, ViewColoursByControlTypeUnderTheFullScheme) {
    QWidget view;
    auto* text = new QLineEdit(&view);
    auto* label = new QLabel("标签", &view);
    auto* check = new QCheckBox("选", &view);
    auto* option = new QRadioButton("项", &view);
    auto* frame = new QGroupBox("框", &view);
    auto* combo = new QComboBox(&view);
    auto* list = new QListWidget(&view);
    auto* button = new QPushButton("返回", &view);
    auto* line = new QFrame(&view);
    line->setFrameShape(QFrame::HLine);

    applyViewColours(&view, Appearance{});  // not customised: nothing changes
    EXPECT_FALSE(isGraphical(button));

    const Appearance a = parseFullScheme(
        "公用Text背景颜色=000001\r\n公用Text文字颜色=000002\r\n公用Label背景颜色=000003\r\n"
        "公用Check文字颜色=000004\r\n公用Option背景颜色=000005\r\n公用Frame文字颜色=000006\r\n"
        "公用Combo背景颜色=000007\r\n公用ListBox文字颜色=000008\r\n公用Command背景颜色=000009\r\n"
        "公用Command文字颜色=00000A\r\n分割线条颜色=00000B\r\n");
    applyViewColours(&view, a);
    auto rgb = [](Bgr c) { return bgrColour(c); };
    EXPECT_EQ(text->palette().color(QPalette::Base), rgb(1));
    EXPECT_EQ(text->palette().color(QPalette::Text), rgb(2));
    EXPECT_EQ(label->palette().color(QPalette::Window), rgb(3));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), rgb(0xFF0000));
    EXPECT_EQ(check->palette().color(QPalette::WindowText), rgb(4));
    EXPECT_EQ(option->palette().color(QPalette::Window), rgb(5));
    EXPECT_EQ(frame->palette().color(QPalette::WindowText), rgb(6));
    EXPECT_EQ(combo->palette().color(QPalette::Base), rgb(7));
    EXPECT_EQ(list->palette().color(QPalette::Text), rgb(8));
    EXPECT_EQ(line->palette().color(QPalette::WindowText), rgb(0xB));
    EXPECT_EQ(buttonBackColour(button), Bgr{9});
    EXPECT_EQ(buttonTextColour(button), Bgr{0xA});
    EXPECT_EQ(button->text(), "返回" + QString("\r\n").repeated(10));
    applyViewColours(&view, a);  // a second pass does not pile breaks up
    EXPECT_EQ(button->text(), "返回" + QString("\r\n").repeated(10));

    applyViewColours(&view, parseFullScheme("禁止ButtonCrlf=1\r\n"));
    EXPECT_EQ(button->text(), "返回");
}

TEST_F(ShellViewsTest, FaderFollowsTheMouseAndReportsEachStep) {
    FaderView fader(7);
    // 250 + 255 x 10 twips of track: 2800 twips, 186.67 pixels; use 187.
    fader.resize(33, 187);
    fader.setFaderValue(255);
    EXPECT_EQ(fader.knobTop(), 0);
    EXPECT_FALSE(fader.setFaderValue(256));
    EXPECT_EQ(fader.value(), 255);
    QSignalSpy changed(&fader, &FaderView::faderChanged);
    QSignalSpy finished(&fader, &FaderView::dragFinished);

    // Press well below the knob: it jumps to centre on the pointer and reports the value.
    QTest::mousePress(&fader, Qt::LeftButton, {}, QPoint(16, 100));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 7);
    const int jumped = changed.at(0).at(1).toInt();
    EXPECT_EQ(jumped, faderValueOf(100 * 15 - 125, 255, 187 * 15));
    QTest::mouseMove(&fader, QPoint(16, 186));
    QTest::mouseRelease(&fader, Qt::LeftButton, {}, QPoint(16, 186));
    EXPECT_EQ(changed.last().at(1).toInt(), 0);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(fader.value(), 0);
    // Other buttons do nothing; the owner's setFaderValue reports nothing.
    QTest::mousePress(&fader, Qt::RightButton, {}, QPoint(16, 10));
    fader.setFaderValue(128);
    EXPECT_EQ(changed.count(), 2);
    // A resize keeps the value.
    fader.resize(33, 300);
    EXPECT_EQ(fader.value(), 128);
}

TEST_F(ShellViewsTest, WheelMessagesOfTheHookedWindowStepTheTarget) {
    QWidget window;
    auto* child = new QLineEdit(&window);
    QWidget other;
    WheelRouter router;
    QList<int> steps;
    router.addTargets(1000, [&](int d, int ch) { steps << d * 100 + ch; });
    router.wheelTarget = 1004;
    hookWheel(&window, router);
    EXPECT_EQ(router.wheelTarget, 0);
    router.wheelTarget = 1004;

    auto wheel = [](QWidget* w, int delta) {
        QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
    };
    wheel(child, 120);
    wheel(&window, -120);
    wheel(child, 240);
    wheel(&other, 120);  // another window: not ours
    EXPECT_EQ(steps, (QList<int>{104, 4}));

    // Without a wheel channel in focus the window's own widgets get the wheel: a list scrolls.
    router.wheelTarget = 0;
    auto* list = new QListWidget(&window);
    list->resize(100, 60);
    for (int i = 0; i < 50; ++i)
        list->addItem(QString::number(i));
    window.show();
    const int top = list->verticalScrollBar()->value();
    wheel(list->viewport(), -120);
    EXPECT_GT(list->verticalScrollBar()->value(), top);
    EXPECT_EQ(steps.size(), 2);

    QWidget disabledWindow;
    WheelRouter off;
    off.wheelDisabled = true;
    off.addTargets(1000, [&](int d, int ch) { steps << d * 100 + ch; });
    hookWheel(&disabledWindow, off);
    off.wheelTarget = 1001;
    wheel(&disabledWindow, 120);
    EXPECT_EQ(steps.size(), 2);
}

TEST_F(ShellViewsTest, VersionNotesWindowShowsTheNotes) {
    Appearance plain;
    VersionNotesWindow notes(plain);
    notes.Fun_窗体载入();
    notes.Fun_窗体载入();  // opened again: written afresh
    QString expected = versionNotesText(false);
    expected.remove('\r');
    EXPECT_EQ(notes.textBox()->toPlainText(), expected);
    EXPECT_TRUE(notes.textBox()->isReadOnly());

    const Appearance full = parseFullScheme("公用Text背景颜色=00FFFF\r\n");
    VersionNotesWindow skinned(full);
    skinned.Fun_窗体载入();
    EXPECT_FALSE(skinned.textBox()->toPlainText().contains("KX-7420"));
    EXPECT_EQ(skinned.palette().color(QPalette::Window), bgrColour(0x00FFFF));
}

// The built-in background is a gradient from top to bottom: wherever it shows (the splash view,
// a view below the title bar, the window around them) every row is one colour, that row's
// colour of the picture, from the left edge to the right.
TEST_F(ShellViewsTest, TheBuiltInBackgroundCoversEveryViewEdgeToEdge) {
    MainWindow window([] {}, fake);
    const PictureStore pictures = PictureStore::load(paths, Appearance{});
    auto* splash = new SplashView(pictures, true);  // its own texts left out
    auto* view = new PlaceholderView("ViewA", "");
    window.prepareView(splash, pictures.splash);
    window.prepareView(view, pictures.backgroundForViews);
    window.showView(splash);
    window.showFixed();
    const QImage picture = pictures.backgroundForViews.toImage();
    auto expectRowsOfThePicture = [&](QWidget* w) {
        const QImage shown = w->grab().toImage();
        ASSERT_EQ(shown.width(), MainWindow::kWidth);
        ASSERT_GT(shown.height(), 600);
        int wrong = 0;
        for (int y = 0; y < shown.height(); ++y) {
            const QRgb row = picture.pixel(0, y);
            for (int x = 0; x < shown.width(); x += 7)
                // The splash view's button sits in the bottom right corner.
                if (!splash->commandButton()->geometry().contains(x, y) || w != splash)
                    wrong += shown.pixel(x, y) != row;
        }
        EXPECT_EQ(wrong, 0) << w->objectName().toStdString();
    };
    expectRowsOfThePicture(splash);
    window.showView(view);
    expectRowsOfThePicture(view);
    // The rows differ: it is the gradient, not one colour.
    EXPECT_NE(picture.pixel(0, 0), picture.pixel(0, 600));
}

TEST_F(ShellViewsTest, PictureStoreTakesTheFullSchemePicturesAndKeepsItsOwnOtherwise) {
    auto save = [&](const QString& name, QSize size) {
        QImage img(size, QImage::Format_RGB32);
        img.fill(Qt::green);
        ASSERT_TRUE(img.save(paths.picAllDir + "/" + name, "PNG"));
    };
    save("P03", {64, 48});
    save("PT02", {10, 5});
    save("P35", {7, 7});
    ASSERT_TRUE(writeWholeFile(paths.picAllDir + "/PT01", "not a picture"));
    const PictureStore builtIn = PictureStore::load(paths, Appearance{});
    EXPECT_NE(builtIn.splash.size(), QSize(64, 48));

    ASSERT_TRUE(writeWholeFile(paths.picAllColorIni, "开启自定义=1\r\n"));
    const PictureStore s = PictureStore::load(paths, loadAppearance(paths));
    EXPECT_EQ(s.splash.size(), QSize(64, 48));
    EXPECT_EQ(s.backgroundForViews.size(), QSize(64, 48));
    EXPECT_EQ(s.faderKnob.size(), QSize(10, 5));
    EXPECT_EQ(s.relayOn[4].size(), QSize(7, 7));
    EXPECT_EQ(s.relayOn[3].size(), builtIn.relayOn[3].size());
    EXPECT_EQ(s.faderTrack.size(), builtIn.faderTrack.size());  // unreadable file: passed over
}

}  // namespace
}  // namespace kx
