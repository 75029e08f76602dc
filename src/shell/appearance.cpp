#include "shell/appearance.h"

#include <map>

#include "base/file_io.h"
#include "base/settings.h"

namespace kx {

namespace {

constexpr int kMaxFullSchemeLines = 3000;

constexpr std::array<const char*, kColourKeyCount> kColourKeyNames{
    "公用Text背景颜色",
    "公用Text文字颜色",
    "公用Frame背景颜色",
    "公用Frame文字颜色",
    "公用Label背景颜色",
    "公用Label文字颜色",
    "公用Check背景颜色",
    "公用Check文字颜色",
    "公用Command背景颜色",
    "公用Command文字颜色",
    "公用Option背景颜色",
    "公用Option文字颜色",
    "公用Combo背景颜色",
    "公用Combo文字颜色",
    "公用ListBox背景颜色",
    "公用ListBox文字颜色",
    "分割线条颜色",
    "标题栏_logo",
    "标题栏_功能按钮背景颜色_选中",
    "标题栏_功能按钮背景颜色_非选中",
    "标题栏_功能按钮字体颜色",
    "标题栏_继电器通道背景颜色",
    "标题栏_继电器通道字符字体颜色",
    "标题栏_串口背景颜色",
    "标题栏_串口字体颜色",
    "标题栏_连接字体颜色",
    "标题栏_连接选中颜色",
    "标题栏_连接非选中颜色",
    "灯控_红外label选中文字颜色",
    "灯库_灯具有效颜色",
    "灯库_灯具无效颜色",
    "灯库_灯具选中背景颜色",
    "灯库_选Dmx通道点击颜色",
    "灯库_通道定义选择颜色",
    "灯库_通道定义非选择颜色",
    "灯库_通道定义修改有效背景颜色",
    "灯库_通道定义修改无效背景颜色",
    "灯库_灯具组按钮选中颜色",
    "灯库_通道ID数字背景颜色",
    "场景_场景选择按钮",
    "场景_场景未选择按钮显示",
    "场景_效果选择按钮_有效",
    "场景_效果选择按钮_无效",
    "场景_效果未选择按钮显示_有效",
    "场景_效果未选择按钮显示_无效",
    "场景_继电器选择按钮",
    "场景_继电器未选择按钮显示",
    "素材_通用选中颜色",
    "素材_虚拟灯具_选中",
    "素材_虚拟灯具_联动",
    "素材_虚拟灯具_非选中",
    "效果_素材列鼠标显示",
    "效果_素材列分区显示1",
    "效果_素材列分区显示2",
    "效果_素材列分区显示3",
    "效果_模块有效_选择",
    "效果_模块有效_非选择",
    "效果_模块无效_选择",
    "效果_模块无效_非选择",
    "效果_素材有效",
    "效果_素材无效",
    "效果_素材选择",
    "效果_拍子选择",
    "效果_拍子非选择",
    "效果_拍子演示选择",
    "效果_拍子演示非选择",
    "效果_小节选择",
    "效果_小节非选择",
};
// The key list and the names are kept by hand: both must reach the last key.
static_assert(static_cast<int>(ColourKey::效果_小节非选择) + 1 == kColourKeyCount);
static_assert(kColourKeyNames.back() != nullptr);

// Each line split at its first "=", the value with every space removed; later lines win.
std::map<QString, QString> keyValues(const QStringList& lines) {
    std::map<QString, QString> entries;
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0) continue;
        QString value = line.mid(eq + 1);
        value.remove(' ');
        entries[line.left(eq)] = value;
    }
    return entries;
}

void takeColour(const std::map<QString, QString>& entries, const char* key,
                std::optional<Bgr>& into) {
    auto it = entries.find(QString::fromUtf8(key));
    if (it == entries.end()) return;
    if (auto c = parseColourValue(it->second)) into = c;
}

}  // namespace

QString colourKeyName(ColourKey key) {
    return QString::fromUtf8(kColourKeyNames[static_cast<int>(key)]);
}

std::optional<Bgr> parseColourValue(const QString& value) {
    QString digits = value;
    digits.remove(' ');
    if (digits.isEmpty()) return std::nullopt;
    bool ok = false;
    const uint v = digits.toUInt(&ok, 16);
    if (!ok) return std::nullopt;
    return v;
}

Appearance parseFullScheme(const QString& text) {
    Appearance a;
    a.customised = true;
    a.colours.fill(Appearance::kFullSchemeDefault);
    const auto entries = keyValues(settingsLines(text).mid(0, kMaxFullSchemeLines));
    for (int i = 0; i < kColourKeyCount; ++i) {
        auto it = entries.find(QString::fromUtf8(kColourKeyNames[i]));
        if (it == entries.end()) continue;
        if (auto c = parseColourValue(it->second)) a.colours[i] = *c;
    }
    for (const auto& [key, value] : entries) {
        if (key == "开启自定义") {
            if (auto on = parseColourValue(value)) a.customised = *on != 0;
        } else if (key == "显示软件版本") {
            a.customTitle = value;
        } else if (key == "使用原来版本号") {
            a.keepVersion = value.toInt();
        } else if (key == "禁止ButtonCrlf") {
            a.noCaptionBreaks = value.toInt() == 1;
        }
    }
    return a;
}

PictureSchemeColours parsePictureScheme(const QString& text) {
    const auto entries = keyValues(settingsLines(text));
    PictureSchemeColours p;
    if (auto it = entries.find("logo"); it != entries.end()) p.logoHidden = it->second == "隐藏";
    takeColour(entries, "功能按钮字体颜色", p.buttonText);
    takeColour(entries, "功能按钮背景颜色_非选中", p.buttonNormal);
    takeColour(entries, "功能按钮背景颜色_选中", p.buttonSelected);
    takeColour(entries, "继电器通道背景颜色", p.relayBack);
    takeColour(entries, "继电器通道字符字体颜色", p.relayText);
    takeColour(entries, "串口背景颜色", p.serialBack);
    takeColour(entries, "串口字体颜色", p.serialText);
    return p;
}

Appearance loadAppearance(const AppPaths& paths) {
    if (fileExists(paths.picColorIni)) {
        Appearance a;
        a.pictureScheme = true;
        a.picture = parsePictureScheme(Fun_ReadText(paths.picColorIni));
        return a;
    }
    if (fileExists(paths.picAllColorIni))
        return parseFullScheme(Fun_ReadText(paths.picAllColorIni));
    return {};
}

QString captionBreaks(const QString& text, const Appearance& appearance) {
    if (appearance.noCaptionBreaks) return text;
    return text + QString("\r\n").repeated(Appearance::kCaptionBreakPairs);
}

QString withoutCaptionBreaks(const QString& caption) {
    QString text = caption;
    text.remove('\r');
    text.remove('\n');
    return text;
}

}  // namespace kx
