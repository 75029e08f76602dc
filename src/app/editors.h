#pragma once

#include <vector>

#include "editor/editor_module.h"

namespace kx {

// Every module of the program, made in the list's order.
std::vector<EditorModule> makeEditors(EditorContext& ctx);

}  // namespace kx
