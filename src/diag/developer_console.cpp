#include "diag/developer_console.h"

namespace kx {

const QStringList& developerCommandList() {
    static const QStringList list{
        "C4 -重启",
        "",
        "Ce28 -蜂鸣器",
        "",
        "CE11 -模拟鼓点",
        "",
        "CE14  -密集鼓点",
        "",
        "CE15  -喝彩",
        "CE16  -倒彩",
        "CE17  -烟机",
        "CE18  -摇麦",
        "CE12 01  -场景1",
        "CE12 02  -场景2",
        "CE12 03  -场景3",
        "CE12 04  -场景4",
        "CE12 05  -场景5",
        "CE12 06 -场景6",
        "CE12 07 -场景7",
        "CE12 08 -场景8",
        "CE12 09 -场景9",
        "CE12 0A -场景10",
        "CE12 1F -全开31",
        "CE12 20 -全关32",
        "",
        "CE5001  -开启 Nec接收",
        "CE5000  -关闭 Nec接收",
        "",
        "CE51 11223344  -Nec发送",
        "",
        "CE10  -测试模式",
        "",
        "CE27 01 -音源1",
        "CE27 02 -音源2",
        "CE27 03 -音源3",
        "",
        "CE29 01 -485",
        "CE29 00 -485",
        "CE30 88 -info",
    };
    return list;
}

QString commandOfListLine(const QString& line) {
    const qsizetype dash = line.indexOf('-');
    return dash < 0 ? line : line.left(dash);
}

QString limitLog(const QString& log) {
    return log.size() > kLogLimit ? log.right(kLogKeep) : log;
}

bool Fun_模拟发送指令(ControllerLink& link, const QString& codeText, const QString& dataText) {
    QString code = codeText;
    code.remove(' ');
    bool ok = false;
    const uint value = code.toUInt(&ok, 16);
    if (!ok || value > 0xFF) return false;
    const auto args = hexTextBytes(dataText);
    if (!args || args->size() > static_cast<std::size_t>(kMaxArguments)) return false;
    return link.sendCommand(static_cast<std::uint8_t>(value), *args);
}

}  // namespace kx
