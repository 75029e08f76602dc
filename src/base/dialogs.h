#pragma once

#include <QString>

#include "base/program_folder.h"
#include "base/prompter.h"

namespace kx {

// What the file dialogs need: the prompter that shows them and the program folder, where they
// open.
struct FileDialogs {
    Prompter& prompter;
    const ProgramFolder& folder;
};

// Each returns the chosen full path or "".
QString Fun_OpenDialog(const FileDialogs& dialogs, const QString& ext);
QString Fun_SaveDialog(const FileDialogs& dialogs, const QString& ext);
QString Fun_OpenDialogTitled(const FileDialogs& dialogs, const QString& title, const QString& ext);
// The save dialogs append "." + ext unless the name already ends with exactly that.
QString Fun_SaveDialogTitled(const FileDialogs& dialogs, const QString& title, const QString& ext);

}  // namespace kx
