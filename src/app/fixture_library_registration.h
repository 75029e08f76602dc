#pragma once

#include "app/editor_registration.h"
#include "fixtures/fixture_library_view.h"
#include "shell/undo_actions.h"
#include "show/show.h"

namespace kx {

// The Fixture Library editor as the program plugs it in: its view on the show's library, groups
// and Channel Function names, the preview of live view 5, the wheel channels 1000 + n, its stores
// recorded in undo's edit history (none: not recorded). view is set when the view is made.
EditorRegistration fixtureLibraryRegistration(Show& show, const AppPaths& paths,
                                              FixtureLibraryView::Services services,
                                              FixtureLibraryView*& view,
                                              UndoActions* undo = nullptr);

}  // namespace kx
