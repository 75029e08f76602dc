#pragma once

#include <QCoreApplication>
#include <QString>

namespace kx {

// Qt's own Simplified Chinese texts (qtbase_zh_CN, from Debian's qt6-translations-l10n): the
// standard buttons of every message box (确定, 是, 否) and the file dialogs. Looked for in
// Qt's translations folder, then in `translations` beside the program; false when neither holds
// them, and the tool goes on with Qt's English texts.
bool installQtTranslations(QCoreApplication& app, const QString& programDir);

}  // namespace kx
