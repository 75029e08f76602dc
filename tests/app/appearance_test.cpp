#include <gtest/gtest.h>

#include <set>

#include "app/caption.h"
#include "app/title_bar.h"
#include "base/file_io.h"
#include "base/paths.h"
#include "base/settings.h"
#include "shell/appearance.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

class AppearanceTest : public test::FakePlatformTest {
  protected:
    AppPaths paths = AppPaths::under(fake.dir.path());

    // color.ini files are code page 936 with CR LF, as an installer writes them.
    void write(const QString& path, const QStringList& lines) {
        ASSERT_TRUE(writeWholeFile(path, encodeCp936(lines.join("\r\n") + "\r\n")));
    }
};

TEST_F(AppearanceTest, NoFileMeansNoCustomisation) {
    const Appearance a = loadAppearance(paths);
    EXPECT_FALSE(a.pictureScheme);
    EXPECT_FALSE(a.customised);
    EXPECT_EQ(mainCaption(" ", captionStyle(a)), "KX-7420 A14.2    [   ]");
}

TEST_F(AppearanceTest, WithBothFilesOnlyThePictureSchemeApplies) {
    write(paths.picColorIni, {"logo=隐藏", "功能按钮背景颜色_选中=00FF00"});
    write(paths.picAllColorIni, {"开启自定义=1", "标题栏_功能按钮背景颜色_选中=123456"});
    const Appearance a = loadAppearance(paths);
    EXPECT_TRUE(a.pictureScheme);
    EXPECT_FALSE(a.customised);
    EXPECT_TRUE(a.picture.logoHidden);
    EXPECT_EQ(a.picture.buttonSelected, Bgr{0x00FF00});
    const TitleBarLook look = titleBarLook(a, 1);
    EXPECT_FALSE(look.logoVisible);
    EXPECT_EQ(look.buttonSelected, Bgr{0x00FF00});
    // Keys the file does not name keep the title bar's defaults.
    EXPECT_EQ(look.buttonNormal, TitleBarLook::kButtonNormal);
    EXPECT_EQ(look.buttonText, TitleBarLook::kButtonText);
    EXPECT_FALSE(look.relayBack);
}

TEST_F(AppearanceTest, PictureSchemeColoursAndLogo) {
    write(paths.picColorIni,
          {"logo=显示", "功能按钮字体颜色=FFFFFF", "功能按钮背景颜色_非选中=10 20 30",
           "继电器通道背景颜色=000080", "继电器通道字符字体颜色=00FFFF", "串口背景颜色=404040",
           "串口字体颜色=zz"});
    const TitleBarLook look = titleBarLook(loadAppearance(paths), 1);
    EXPECT_TRUE(look.logoVisible);
    EXPECT_EQ(look.buttonText, Bgr{0xFFFFFF});
    EXPECT_EQ(look.buttonNormal, Bgr{0x102030});
    EXPECT_EQ(look.relayBack, Bgr{0x000080});
    EXPECT_EQ(look.relayText, Bgr{0x00FFFF});
    EXPECT_EQ(look.serialBack, Bgr{0x404040});
    EXPECT_FALSE(look.serialText);  // unreadable value: the default stays
    // LoSet other than 1 hides the logo whatever the scheme says.
    EXPECT_FALSE(titleBarLook(loadAppearance(paths), 0).logoVisible);
    EXPECT_FALSE(titleBarLook(Appearance{}, 2).logoVisible);
    EXPECT_TRUE(titleBarLook(Appearance{}, 1).logoVisible);
}

TEST_F(AppearanceTest, FullSchemeDefaultsEveryColourToBlueAndReadsTheNamedOnes) {
    write(paths.picAllColorIni,
          {"公用Text背景颜色=6010BF", "效果_小节非选择=60 10 BF", "标题栏_连接选中颜色= 00 80 00 ",
           "灯库_灯具有效颜色=", "场景_场景选择按钮=XYZ", "素材_通用选中颜色=0"});
    const Appearance a = loadAppearance(paths);
    EXPECT_FALSE(a.pictureScheme);
    EXPECT_TRUE(a.customised);  // no 开启自定义: the file alone switches it on
    EXPECT_EQ(a.colour(ColourKey::公用Text背景颜色), Bgr{0x6010BF});
    EXPECT_EQ(a.colour(ColourKey::效果_小节非选择), Bgr{0x6010BF});  // spaced digits
    EXPECT_EQ(a.colour(ColourKey::标题栏_连接选中颜色), Bgr{0x008000});
    EXPECT_EQ(a.colour(ColourKey::灯库_灯具有效颜色), Bgr{0xFF0000});  // empty value
    EXPECT_EQ(a.colour(ColourKey::场景_场景选择按钮), Bgr{0xFF0000});  // not hexadecimal
    EXPECT_EQ(a.colour(ColourKey::素材_通用选中颜色), Bgr{0});
    EXPECT_EQ(a.colour(ColourKey::公用Text文字颜色), Bgr{0xFF0000});  // missing key
    EXPECT_EQ(a.colour(ColourKey::分割线条颜色), Bgr{0xFF0000});

    const TitleBarLook look = titleBarLook(a, 1);
    EXPECT_EQ(look.connectOn, Bgr{0x008000});
    EXPECT_EQ(look.connectOff, Bgr{0xFF0000});
    EXPECT_EQ(look.buttonSelected, Bgr{0xFF0000});
    EXPECT_TRUE(look.logoVisible);  // 标题栏_logo defaults to FF0000, not 0
}

TEST_F(AppearanceTest, FullSchemeKeysAreComparedInFull) {
    const Appearance a = parseFullScheme(
        "公用Label背景颜色X=000001\r\n 公用Label背景颜色=000002\r\n公用Label背景颜=000003\r\n"
        "公用Label文字颜色=000004=5\r\n");
    EXPECT_EQ(a.colour(ColourKey::公用Label背景颜色), Bgr{0xFF0000});
    EXPECT_EQ(a.colour(ColourKey::公用Label文字颜色), Bgr{0xFF0000});  // "000004=5" is no number
}

TEST_F(AppearanceTest, OnlyTheFirst3000LinesCount) {
    QString text;
    for (int i = 0; i < 2999; ++i)
        text += "填充=1\r\n";
    text += "公用Frame背景颜色=000011\r\n公用Frame文字颜色=000022\r\n";
    const Appearance a = parseFullScheme(text);
    EXPECT_EQ(a.colour(ColourKey::公用Frame背景颜色), Bgr{0x000011});
    EXPECT_EQ(a.colour(ColourKey::公用Frame文字颜色), Bgr{0xFF0000});
}

TEST_F(AppearanceTest, SwitchAndCaptionSettings) {
    EXPECT_FALSE(parseFullScheme("开启自定义=0\r\n").customised);
    EXPECT_TRUE(parseFullScheme("开启自定义=A\r\n").customised);
    EXPECT_TRUE(parseFullScheme("开启自定义=否\r\n").customised);  // unreadable: stays on

    Appearance a = parseFullScheme("显示软件版本=KTV 灯光 控制\r\n使用原来版本号=1\r\n");
    EXPECT_EQ(a.customTitle, "KTV灯光控制");  // spaces are removed from every value
    EXPECT_EQ(mainCaption("C:\\S7420.K74", captionStyle(a)),
              "KTV灯光控制 A14.2    [ C:\\S7420.K74 ]");
    a = parseFullScheme("显示软件版本=灯光\r\n使用原来版本号=0\r\n");
    EXPECT_EQ(mainCaption(" ", captionStyle(a)), "灯光    [   ]");
    a = parseFullScheme("显示软件版本=灯光\r\n使用原来版本号=3\r\n开启自定义=0\r\n");
    EXPECT_EQ(mainCaption("p", captionStyle(a)), "KX-7420 A14.2    [ p ]");
}

TEST_F(AppearanceTest, CaptionBreaksUnlessForbidden) {
    Appearance a = parseFullScheme("");
    const QString broken = captionBreaks("保存", a);
    EXPECT_EQ(broken, "保存" + QString("\r\n").repeated(10));
    EXPECT_EQ(withoutCaptionBreaks(broken), "保存");
    a = parseFullScheme("禁止ButtonCrlf=1\r\n");
    EXPECT_EQ(captionBreaks("保存", a), "保存");
    a = parseFullScheme("禁止ButtonCrlf=2\r\n");
    EXPECT_EQ(captionBreaks("保存", a), broken);
}

TEST(AppearanceKeys, SixtyEightDistinctColourKeys) {
    std::set<QString> names;
    for (int i = 0; i < kColourKeyCount; ++i)
        names.insert(colourKeyName(static_cast<ColourKey>(i)));
    EXPECT_EQ(names.size(), 68u);
    EXPECT_EQ(colourKeyName(ColourKey::公用Text背景颜色), "公用Text背景颜色");
    EXPECT_EQ(colourKeyName(ColourKey::效果_小节非选择), "效果_小节非选择");
    EXPECT_EQ(colourKeyName(ColourKey::灯控_红外label选中文字颜色), "灯控_红外label选中文字颜色");
}

TEST(TitleBarRules,
     PopupPosition) {  // 1280 x 768 main window, 87-pixel title bar, a 401 x 300 pop-up.
    EXPECT_EQ(centreOverMainPosition(1280, 768, 401, 300, 87), QPoint(439, 147));
}

}  // namespace
}  // namespace kx
