#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

#include "base/paths.h"

namespace kx {

// Colours are 0x00BBGGRR, as the settings files write them.
using Bgr = std::uint32_t;

// The colour keys of the full scheme, named as color.ini names them. Qt's moc cannot read
// non-ASCII names, so it is kept from seeing them (it has no use for them).
#ifndef Q_MOC_RUN
enum class ColourKey : int {
    公用Text背景颜色,
    公用Text文字颜色,
    公用Frame背景颜色,
    公用Frame文字颜色,
    公用Label背景颜色,
    公用Label文字颜色,
    公用Check背景颜色,
    公用Check文字颜色,
    公用Command背景颜色,
    公用Command文字颜色,
    公用Option背景颜色,
    公用Option文字颜色,
    公用Combo背景颜色,
    公用Combo文字颜色,
    公用ListBox背景颜色,
    公用ListBox文字颜色,
    分割线条颜色,
    标题栏_logo,
    标题栏_功能按钮背景颜色_选中,
    标题栏_功能按钮背景颜色_非选中,
    标题栏_功能按钮字体颜色,
    标题栏_继电器通道背景颜色,
    标题栏_继电器通道字符字体颜色,
    标题栏_串口背景颜色,
    标题栏_串口字体颜色,
    标题栏_连接字体颜色,
    标题栏_连接选中颜色,
    标题栏_连接非选中颜色,
    灯控_红外label选中文字颜色,
    灯库_灯具有效颜色,
    灯库_灯具无效颜色,
    灯库_灯具选中背景颜色,
    灯库_选Dmx通道点击颜色,
    灯库_通道定义选择颜色,
    灯库_通道定义非选择颜色,
    灯库_通道定义修改有效背景颜色,
    灯库_通道定义修改无效背景颜色,
    灯库_灯具组按钮选中颜色,
    灯库_通道ID数字背景颜色,
    场景_场景选择按钮,
    场景_场景未选择按钮显示,
    场景_效果选择按钮_有效,
    场景_效果选择按钮_无效,
    场景_效果未选择按钮显示_有效,
    场景_效果未选择按钮显示_无效,
    场景_继电器选择按钮,
    场景_继电器未选择按钮显示,
    素材_通用选中颜色,
    素材_虚拟灯具_选中,
    素材_虚拟灯具_联动,
    素材_虚拟灯具_非选中,
    效果_素材列鼠标显示,
    效果_素材列分区显示1,
    效果_素材列分区显示2,
    效果_素材列分区显示3,
    效果_模块有效_选择,
    效果_模块有效_非选择,
    效果_模块无效_选择,
    效果_模块无效_非选择,
    效果_素材有效,
    效果_素材无效,
    效果_素材选择,
    效果_拍子选择,
    效果_拍子非选择,
    效果_拍子演示选择,
    效果_拍子演示非选择,
    效果_小节选择,
    效果_小节非选择,
};
#else
enum class ColourKey : int;
#endif

inline constexpr int kColourKeyCount = 68;
// The key of each ColourKey as written in the full scheme's color.ini.
QString colourKeyName(ColourKey key);

// Title-bar colours of the picture scheme; a key missing from its file leaves the default.
struct PictureSchemeColours {
    bool logoHidden = false;            // "logo" = "隐藏"
    std::optional<Bgr> buttonText;      // 功能按钮字体颜色
    std::optional<Bgr> buttonNormal;    // 功能按钮背景颜色_非选中
    std::optional<Bgr> buttonSelected;  // 功能按钮背景颜色_选中
    std::optional<Bgr> relayBack;       // 继电器通道背景颜色
    std::optional<Bgr> relayText;       // 继电器通道字符字体颜色
    std::optional<Bgr> serialBack;      // 串口背景颜色
    std::optional<Bgr> serialText;      // 串口字体颜色
};

// How this installation is skinned. The picture scheme (Pic/color.ini) re-skins the title bar and
// the view background; the full scheme (PicAll/color.ini, `customised`) re-skins everything.
struct Appearance {
    static constexpr Bgr kFullSchemeDefault = 0xFF0000;  // pure blue
    static constexpr int kCaptionBreakPairs = 10;

    bool pictureScheme = false;
    bool customised = false;
    QString customTitle;           // 显示软件版本
    int keepVersion = 0;           // 使用原来版本号: 1 or more keeps "A14.2" in the caption
    bool noCaptionBreaks = false;  // 禁止ButtonCrlf = 1
    std::array<Bgr, kColourKeyCount> colours{};
    PictureSchemeColours picture;

    Bgr colour(ColourKey key) const { return colours[static_cast<int>(key)]; }
};

// Decides the scheme from which color.ini files exist and reads the one that applies.
Appearance loadAppearance(const AppPaths& paths);
// The full scheme read from the text of its color.ini (at most its first 3,000 lines count).
Appearance parseFullScheme(const QString& text);
// The picture scheme read from the text of its color.ini.
PictureSchemeColours parsePictureScheme(const QString& text);

// A colour value of color.ini: bare hexadecimal digits, spaces anywhere ignored.
std::optional<Bgr> parseColourValue(const QString& value);

// A command button's caption under the full scheme: followed by ten CR LF pairs, which moves the
// button's own caption out of the way of the coloured one, unless 禁止ButtonCrlf is set.
QString captionBreaks(const QString& text, const Appearance& appearance);
// The caption without those breaks, as the coloured caption shows it.
QString withoutCaptionBreaks(const QString& caption);

}  // namespace kx
