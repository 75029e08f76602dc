#pragma once

#include "editor/editor_module.h"

namespace kx {

// The device window ("升级程序"): live view 3, the Controller's version replies; the title bar's
// upgrade button runs its upgrade, a double click on the counters opens it.
EditorModule makeDeviceFilesWindow(EditorContext& ctx);
// The Show File download ("下载"): live view 1; it saves the show before it sends it.
EditorModule makeShowDownloadWindow(EditorContext& ctx);

}  // namespace kx
