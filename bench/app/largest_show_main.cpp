// kx7420-largest-show FOLDER: writes FOLDER/S7420.K74 holding the largest show (see
// largest_show.h), the open Effect's bank topped up with 600-Step Materials of 40 x 32 values
// until one more would not fit the file, and prints the file's size.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include "cli/headless_platform.h"
#include "largest_show.h"
#include "show/effect_images.h"

namespace {

using namespace kx;

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    if (argc != 2) {
        QTextStream(stderr) << "usage: kx7420-largest-show FOLDER\n";
        return 2;
    }
    const AppPaths paths = AppPaths::under(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(paths.scTemp);
    HeadlessPlatform platform;
    Show scratch;
    EffectImages images{scratch, paths};
    std::unique_ptr<Show> show = bench::largestShow(images);
    EffectImages liveImages{*show, paths};
    const SectionRoutines sections = showBinding(*show, liveImages, paths).sections();
    int added = 0;
    for (int module = 1; module <= kModules; ++module) {
        for (int slot = 1; slot <= kSlotsPerModule; ++slot) {
            Material& m = show->materials.at(module, slot);
            if (m.stepCount() > 0) continue;
            m = bench::largeMaterial(module * kSlotsPerModule + slot, kMaxSteps);
            if (buildShowFile(sections, QStringLiteral("stamp")).bytes) {
                ++added;
                continue;
            }
            m = Material{};
            module = kModules;
            break;
        }
    }
    ShowFile file = makeShowFile(*show, liveImages, paths, {platform, platform});
    if (!file.saveShow(platform)) return 1;
    out << paths.showFile << ": " << QFileInfo(paths.showFile).size() << " bytes, " << added
        << " full Materials added to the open bank\n";
    return 0;
}
