#include "app/version_notes.h"

#include "app/caption.h"

namespace kx {

namespace {

const QString kHeadingMark = "////";
const QString kHeadingRow = QString("/").repeated(55);

}  // namespace

QStringList versionNoteLines() {
    const QString h = "//////////////////////////////KX-7420 ";
    return {
        h + "A14.2",
        "1.增加关闭多色门牌选项，需要机器版本1.42",
        "2.增加PC软件升级底层数据校验功能",
        "",
        h + "A14.1",
        "1.增加音源4红外指令，需要机器版本141",
        "",
        h + "A14",
        "1.优化界面",
        "",
        h + "A13.1",
        "1.增加跑马工具参数，可以设置最大最小值",
        "",
        h + "A13",
        "1.修改编辑小结数据问题",
        "2.增加暂停停止帧功能，需要同时更新机器软件",
        "3.增加场景切换音效",
        "4.增加本机音源切换功能，需要最新板的硬件支持",
        "",
        h + "A12",
        "1.修改编辑灯具组的时候灯具显示问题",
        "2.灯具组保存有时失效问题",
        "3.增加小节数",
        "4.修改模块导入导出报错的问题，某些旧模块文件不再报错，但是可能会丢失第二页的虚拟灯具和实际"
        "灯具的对应关系",
        "",
        h + "A11.3",
        "1.增加快速灯具组",
        "",
    };
}

QString versionNoteEntry(const QString& line, bool customised) {
    if (!customised || !line.startsWith(kHeadingMark)) return line + "\r\n";
    QString rest = line;
    rest.remove('/');
    rest.remove(kProductName);
    return kHeadingRow + rest + "\r\n" + "\r\n";
}

QString versionNotesText(bool customised) {
    QString text;
    for (const QString& line : versionNoteLines())
        text += versionNoteEntry(line, customised);
    return text;
}

}  // namespace kx
