#include "base/dialogs.h"

namespace kx {

namespace {

QString ask(const FileDialogs& dialogs, bool save, const QString& title, const QString& filterTitle,
            const QString& ext) {
    Prompter::FileDialog d;
    d.save = save;
    d.title = title;
    d.filterName = filterTitle + " (*." + ext + ")";
    d.pattern = "*." + ext;
    d.folder = dialogs.folder.programDir();
    QString path = dialogs.prompter.fileDialog(d);
    if (save && !path.isEmpty() && !path.endsWith("." + ext)) path += "." + ext;
    return path;
}

}  // namespace

QString Fun_OpenDialog(const FileDialogs& dialogs, const QString& ext) {
    return ask(dialogs, false, "打开文件", "打开文件", ext);
}

QString Fun_SaveDialog(const FileDialogs& dialogs, const QString& ext) {
    return ask(dialogs, true, "保存文件", "保存文件", ext);
}

QString Fun_OpenDialogTitled(const FileDialogs& dialogs, const QString& title, const QString& ext) {
    return ask(dialogs, false, title, title, ext);
}

QString Fun_SaveDialogTitled(const FileDialogs& dialogs, const QString& title, const QString& ext) {
    return ask(dialogs, true, title, title, ext);
}

}  // namespace kx
