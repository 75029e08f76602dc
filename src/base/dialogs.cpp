#include "base/dialogs.h"

#include "base/platform.h"

namespace kx {

namespace {

QString ask(bool save, const QString& title, const QString& filterTitle, const QString& ext) {
    Platform::FileDialog d;
    d.save = save;
    d.title = title;
    d.filterName = filterTitle + " (*." + ext + ")";
    d.pattern = "*." + ext;
    d.folder = platform().programDir();
    QString path = platform().fileDialog(d);
    if (save && !path.isEmpty() && !path.endsWith("." + ext)) path += "." + ext;
    return path;
}

}  // namespace

QString Fun_OpenDialog(const QString& ext) {
    return ask(false, "打开文件", "打开文件", ext);
}

QString Fun_SaveDialog(const QString& ext) {
    return ask(true, "保存文件", "保存文件", ext);
}

QString Fun_OpenDialogTitled(const QString& title, const QString& ext) {
    return ask(false, title, title, ext);
}

QString Fun_SaveDialogTitled(const QString& title, const QString& ext) {
    return ask(true, title, title, ext);
}

}  // namespace kx
