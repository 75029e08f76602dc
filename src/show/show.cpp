#include "show/show.h"

#include "effects/effect_record.h"
#include "fixtures/fixture_files.h"
#include "materials/material_bank_file.h"

namespace kx {

SectionRoutines showSections(Show& show, EffectImageStore& images, StagedEffectImages& staged) {
    return {
        roomControlSectionRoutine(show.room),
        scenesSectionRoutine(show.scenes),
        fixtureSectionRoutine(show.library),
        materialsSectionRoutine(show.materials, show.currentEffect, show.library, images, staged),
        effectsSectionRoutine(show.effects),
        thresholdsSectionRoutine(show.thresholds, show.library, show.functionNames),
    };
}

ShowBinding showBinding(Show& live, EffectImageStore& images, const AppPaths& paths) {
    ShowBinding binding;
    // A save reads the live show; the staged images it is handed are not used by writers.
    auto unusedImages = std::make_shared<StagedEffectImages>();
    binding.sections = [&live, &images, unusedImages] {
        return showSections(live, images, *unusedImages);
    };
    binding.snapshot = [&live, &images] {
        auto copy = std::make_shared<Show>(live);
        auto unused = std::make_shared<StagedEffectImages>();
        StagedShow s;
        s.sections = showSections(*copy, images, *unused);
        s.commit = [&live, copy, unused] {
            // What the writers settled on the copy, as they would have on the live show: no
            // Channel Function above a Fixture's channel count, and the open bank holding exactly
            // what its image holds.
            for (auto& page : live.library.pages)
                for (Fixture& f : page)
                    clearUnusedFunctions(f);
            if (live.currentEffect != 0 && live.currentEffect == copy->currentEffect)
                live.materials = std::move(copy->materials);
            return QStringList{};
        };
        return s;
    };
    binding.stage = [&live, &images] {
        // The staging copy starts from the live show, so fields a section leaves alone keep
        // their values when that section is absent. The Effects reader starts every Effect
        // afresh and the Materials are read into staged images: neither is copied.
        auto staged = std::make_shared<Show>();
        staged->room = live.room;
        staged->scenes = live.scenes;
        staged->library = live.library;
        staged->thresholds = live.thresholds;
        staged->functionNames = live.functionNames;
        staged->groups = live.groups;
        staged->currentEffect = live.currentEffect;
        auto stagedImages = std::make_shared<StagedEffectImages>();
        StagedShow s;
        s.sections = showSections(*staged, images, *stagedImages);
        s.commit = [&live, &images, staged, stagedImages] {
            live.room = std::move(staged->room);
            live.scenes = std::move(staged->scenes);
            live.library = std::move(staged->library);
            live.effects = std::move(staged->effects);
            live.thresholds = std::move(staged->thresholds);
            // The images are where the other Effects' Materials live until the next save: a
            // failed write is said, not passed over.
            if (!commitMaterialsSection(*stagedImages, images, live.materials, live.currentEffect))
                return QStringList{kMsgMaterialSaveFailed};
            return QStringList{};
        };
        return s;
    };
    binding.noShowFile = [&live, &images] {
        images.clear();
        setDefaultAssociations(live.scenes);
    };
    binding.saveCompanions = [&live, path = paths.fixtureGroups] {
        return saveFixtureGroups(live.groups, path).message;
    };
    return binding;
}

ShowFile makeShowFile(Show& show, EffectImageStore& images, const AppPaths& paths, Waiter waiter,
                      ShowFileEvents events) {
    return ShowFile(paths, showBinding(show, images, paths), waiter, std::move(events));
}

}  // namespace kx
