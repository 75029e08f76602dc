#include "base/developer_mode.h"

#include "base/settings.h"

namespace kx {

DeveloperMode evaluateDeveloperMode(const AppPaths& paths) {
    DeveloperMode mode;
    mode.on = iniReadInt(paths.developerIni, "开发模式_功能开启") == 1;
    mode.wheelDisabled = iniReadInt(paths.developerIni, "禁止鼠标滚轮") == 1;
    if (iniReadInt(paths.workSet, "最后是否在开发模式") == 1 && !mode.on) {
        Fun_IniWrite(paths.workSet, "升级文件路径", "");
    }
    Fun_IniWrite(paths.workSet, "最后是否在开发模式", mode.on ? "1" : "0");
    return mode;
}

}  // namespace kx
