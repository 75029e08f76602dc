#pragma once

#include <QString>

namespace kx {

class ControllerLink;
class FileTransfer;
class Prompter;
class ShowFile;
class TitleBarView;

// "已保存 <file>": the status line after the title bar's save wrote the Show File.
QString savedStatus(const QString& path);

// The title bar's status line and what feeds it: the save button saves the Show File (telling a
// failure through prompter) and confirms a save with its file; a transfer asked for while not
// connected says "请先连接控制器"; the private port's problems are shown, the one met while the
// link was made at once.
void wireStatusLine(TitleBarView& bar, ControllerLink& link, FileTransfer& transfer, ShowFile& file,
                    Prompter& prompter);

}  // namespace kx
