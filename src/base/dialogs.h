#pragma once

#include <QString>

namespace kx {

// File dialogs opened in the program directory; each returns the chosen full path or "".
QString Fun_OpenDialog(const QString& ext);
QString Fun_SaveDialog(const QString& ext);
QString Fun_OpenDialogTitled(const QString& title, const QString& ext);
// The save dialogs append "." + ext unless the name already ends with exactly that.
QString Fun_SaveDialogTitled(const QString& title, const QString& ext);

}  // namespace kx
