#pragma once

#include "fixtures/action_thresholds.h"
#include "fixtures/fixture_groups.h"
#include "fixtures/fixture_library.h"
#include "storage/show_file.h"

namespace kx {

// The one in-memory show: every model the Show File holds, plus the fixture companions that live
// beside it (Channel Function names, groups). The program owns exactly one; tests make their own.
struct Show {
    FixtureLibrary library;
    ActionThresholds thresholds;
    ChannelFunctionNames functionNames = defaultChannelFunctionNames();
    FixtureGroups groups;
};

// The section routines of a show in file order (1, 2, 10, 11, 12, 13; the stamp is the
// container's).
SectionRoutines showSections(Show& show);
// Saving works on the live show; loading parses into a staging copy that replaces the live
// show's file-held models only when every section was read.
ShowBinding showBinding(Show& live);

}  // namespace kx
