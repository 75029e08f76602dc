#include "base/paths.h"

namespace kx {

AppPaths AppPaths::under(const QString& dir) {
    AppPaths p;
    p.programDir = dir;
    p.showFile = dir + "/S7420.K74";
    p.recoveryFile = p.showFile + ".recover";
    p.backupDir = dir + "/灯光备份";
    p.appSet = dir + "/AppSet";
    p.systemIni = p.appSet + "/SYSTEM.INI";
    p.sysConfig = p.appSet + "/Sys_config";
    p.workSet = p.sysConfig + "/WORK_SET";
    p.developerIni = dir + "/开发模式.INI";
    p.picDir = p.sysConfig + "/Pic";
    p.picAllDir = p.sysConfig + "/PicAll";
    p.picColorIni = p.picDir + "/color.ini";
    p.picAllColorIni = p.picAllDir + "/color.ini";
    p.scTemp = p.sysConfig + "/SC_TEMP";
    p.blankTemplate = p.scTemp + "/NoneH_F.bin";
    p.materialClipboard = p.scTemp + "/SCCOPY.K_1SC";
    p.stepClipboard = p.appSet + "/SC_COPY";
    p.fixtureClipboard = p.sysConfig + "/Dj_temp.K_1DK";
    p.commonFixturesDir = p.appSet + "/常用灯具";
    p.fixtureGroups = p.appSet + "/灯具组.dat";
    p.customFunctionNames = p.appSet + "/通道描述自定义.txt";
    return p;
}

QString AppPaths::effectImage(int effect) const {
    return scTemp + "/" + QString::number(effect).rightJustified(3, '0');
}

QString AppPaths::inProgramDir(const QString& relative) const {
    return programDir + "/" + relative;
}

}  // namespace kx
