#pragma once

#include <QString>

namespace kx {

// Where the program keeps its files, all below the program directory.
struct AppPaths {
    QString programDir;
    QString showFile;             // S7420.K74
    QString recoveryFile;         // S7420.K74.recover: the show as edited since the last save
    QString backupDir;            // 灯光备份
    QString appSet;               // AppSet
    QString systemIni;            // AppSet/SYSTEM.INI
    QString workSet;              // AppSet/Sys_config/WORK_SET
    QString developerIni;         // 开发模式.INI
    QString sysConfig;            // AppSet/Sys_config
    QString picColorIni;          // AppSet/Sys_config/Pic/color.ini
    QString picAllColorIni;       // AppSet/Sys_config/PicAll/color.ini
    QString picDir;               // AppSet/Sys_config/Pic
    QString picAllDir;            // AppSet/Sys_config/PicAll
    QString scTemp;               // AppSet/Sys_config/SC_TEMP
    QString blankTemplate;        // AppSet/Sys_config/SC_TEMP/NoneH_F.bin
    QString materialClipboard;    // AppSet/Sys_config/SC_TEMP/SCCOPY.K_1SC
    QString stepClipboard;        // AppSet/SC_COPY
    QString fixtureClipboard;     // AppSet/Sys_config/Dj_temp.K_1DK
    QString commonFixturesDir;    // AppSet/常用灯具
    QString fixtureGroups;        // AppSet/灯具组.dat
    QString customFunctionNames;  // AppSet/通道描述自定义.txt

    static AppPaths under(const QString& programDir);

    // An Effect Material Image: SC_TEMP/ + effect number in 3 digits.
    QString effectImage(int effect) const;
    // A file below the program directory given with "/" separators.
    QString inProgramDir(const QString& relative) const;
};

}  // namespace kx
