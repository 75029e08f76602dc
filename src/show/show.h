#pragma once

#include <memory>

#include "effects/effect_model.h"
#include "fixtures/action_thresholds.h"
#include "fixtures/fixture_groups.h"
#include "fixtures/fixture_library.h"
#include "materials/material.h"
#include "materials/materials_section.h"
#include "roomctl/room_control.h"
#include "scenes/scene_table.h"
#include "storage/show_file.h"

namespace kx {

// The one in-memory show: every model the Show File holds, plus the companions that live beside
// it (Channel Function names, groups). The program owns exactly one; tests make their own.
struct Show {
    RoomControl room;
    SceneTable scenes;
    FixtureLibrary library;
    // The Material Bank of the open Effect (0: none open); the other Effects' Materials live in
    // their Effect Material Images.
    MaterialBank materials;
    int currentEffect = 0;
    EffectTable effects;
    ActionThresholds thresholds;
    ChannelFunctionNames functionNames = defaultChannelFunctionNames();
    FixtureGroups groups;
};

// The section routines of a show in file order (1, 2, 10, 11, 12, 13; the stamp is the
// container's). The Materials section writes through the image store and reads into staged
// images, which the binding commits.
SectionRoutines showSections(Show& show, EffectImageStore& images, StagedEffectImages& staged);
// Saving works on the live show; loading parses into a staging copy that replaces the live
// show's file-held models only when every section was read, and replaces the Effect Material
// Images with the file's. Without a Show File the images go and the scenes get their default
// associations; every backup first saves the groups file when it has changed.
ShowBinding showBinding(Show& live, EffectImageStore& images, const AppPaths& paths);
ShowFile makeShowFile(Show& show, EffectImageStore& images, const AppPaths& paths, Waiter waiter,
                      ShowFileEvents events = {});

}  // namespace kx
