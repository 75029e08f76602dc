#pragma once

#include "base/dialogs.h"
#include "base/edit_history.h"
#include "base/paths.h"
#include "editor/editor_host.h"
#include "link/controller_link.h"
#include "materials/material_output.h"
#include "shell/appearance.h"
#include "shell/picture_store.h"
#include "shell/wheel.h"
#include "show/effect_images.h"
#include "show/show.h"
#include "transfer/file_transfer.h"

namespace kx {

// Everything of the program an editor module may use, made once by the program and handed to
// every module's factory. Fill it with designated initializers.
struct EditorContext {
    Show& show;
    EffectImages& images;
    // The run positions of the open bank's Materials, shared by the Effect and Material previews.
    MaterialOutput& materialOutput;
    ShowFile& showFile;
    const AppPaths& paths;
    const Appearance& appearance;
    const PictureStore& pictures;
    FileDialogs dialogs;
    ControllerLink& link;
    FileTransfer& transfer;
    WheelRouter& wheel;
    // Every editor's stores, for undo; none: stores are not recorded.
    EditHistory* history = nullptr;
    EditorHost& host;
};

}  // namespace kx
