#pragma once

#include <QString>

#include "base/prompter.h"
#include "storage/show_file.h"

namespace kx {

// Follows the failure text of the save in the question of a close that could not save.
inline const QString kAskEndUnsaved = QStringLiteral(" 仍然退出吗？");

// The save of the counted shutdown. True when the program may end: the show was written, or the
// user, asked "SHOW 文件保存失败！！！ 仍然退出吗？", chose to end without it. Without mayAsk (a
// termination request from the system) a failure is only reported. Both through prompter.
bool saveBeforeEnd(ShowFile& file, Prompter& prompter, bool mayAsk);

}  // namespace kx
