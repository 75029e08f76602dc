#include "show/show.h"

#include "effects/effect_record.h"
#include "fixtures/fixture_files.h"
#include "materials/material_bank_file.h"

namespace kx {

SectionRoutines showSections(Show& show, const AppPaths& paths, StagedEffectImages& images) {
    return {
        roomControlSectionRoutine(show.room),
        scenesSectionRoutine(show.scenes),
        fixtureSectionRoutine(show.library),
        materialsSectionRoutine(show.materials, show.currentEffect, show.library, paths, images),
        effectsSectionRoutine(show.effects),
        thresholdsSectionRoutine(show.thresholds, show.library, show.functionNames),
    };
}

ShowBinding showBinding(Show& live, const AppPaths& paths) {
    ShowBinding binding;
    // A save reads the live show; the images it is handed are not used by writers.
    auto unusedImages = std::make_shared<StagedEffectImages>();
    binding.sections = [&live, paths, unusedImages] {
        return showSections(live, paths, *unusedImages);
    };
    binding.stage = [&live, paths] {
        // The staging copy starts from the live show, so fields a section leaves alone keep
        // their values when that section is absent.
        auto staged = std::make_shared<Show>(live);
        auto images = std::make_shared<StagedEffectImages>();
        StagedShow s;
        s.sections = showSections(*staged, paths, *images);
        s.commit = [&live, staged, images, paths] {
            live.room = std::move(staged->room);
            live.scenes = std::move(staged->scenes);
            live.library = std::move(staged->library);
            live.effects = std::move(staged->effects);
            live.thresholds = std::move(staged->thresholds);
            // The images are where the other Effects' Materials live until the next save: a
            // failed write is said, not passed over.
            if (!commitMaterialsSection(*images, paths, live.materials, live.currentEffect))
                return QStringList{kMsgMaterialSaveFailed};
            return QStringList{};
        };
        return s;
    };
    binding.noShowFile = [&live, paths] {
        deleteAllEffectImages(paths);
        setDefaultAssociations(live.scenes);
    };
    binding.saveCompanions = [&live, path = paths.fixtureGroups] {
        return saveFixtureGroups(live.groups, path).message;
    };
    return binding;
}

ShowFile makeShowFile(Show& show, const AppPaths& paths, Waiter waiter, ShowFileEvents events) {
    return ShowFile(paths, showBinding(show, paths), waiter, std::move(events));
}

}  // namespace kx
