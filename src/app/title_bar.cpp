#include "app/title_bar.h"

namespace kx {

TitleBarLook titleBarLook(const Appearance& a, int loSet) {
    TitleBarLook look;
    look.logoVisible = loSet == 1;
    if (a.pictureScheme) {
        const PictureSchemeColours& p = a.picture;
        if (p.logoHidden) look.logoVisible = false;
        look.buttonText = p.buttonText.value_or(look.buttonText);
        look.buttonNormal = p.buttonNormal.value_or(look.buttonNormal);
        look.buttonSelected = p.buttonSelected.value_or(look.buttonSelected);
        look.relayBack = p.relayBack;
        look.relayText = p.relayText;
        look.serialBack = p.serialBack;
        look.serialText = p.serialText;
    } else if (a.customised) {
        if (a.colour(ColourKey::标题栏_logo) == 0) look.logoVisible = false;
        look.buttonText = a.colour(ColourKey::标题栏_功能按钮字体颜色);
        look.buttonNormal = a.colour(ColourKey::标题栏_功能按钮背景颜色_非选中);
        look.buttonSelected = a.colour(ColourKey::标题栏_功能按钮背景颜色_选中);
        look.relayBack = a.colour(ColourKey::标题栏_继电器通道背景颜色);
        look.relayText = a.colour(ColourKey::标题栏_继电器通道字符字体颜色);
        look.serialBack = a.colour(ColourKey::标题栏_串口背景颜色);
        look.serialText = a.colour(ColourKey::标题栏_串口字体颜色);
        look.connectText = a.colour(ColourKey::标题栏_连接字体颜色);
        look.connectOn = a.colour(ColourKey::标题栏_连接选中颜色);
        look.connectOff = a.colour(ColourKey::标题栏_连接非选中颜色);
    }
    return look;
}

QPoint centreOverMainPosition(int mainWidth, int mainHeight, int width, int height,
                              int titleBarHeight) {
    return {(mainWidth - width) / 2, (mainHeight - height) / 2 - titleBarHeight};
}

CaptionStyle captionStyle(const Appearance& a) {
    if (!a.customised) return {};
    return {true, a.customTitle, a.keepVersion >= 1};
}

}  // namespace kx
