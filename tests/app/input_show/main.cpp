// kx7420-input-show: the show the live-input process test works on, and what it reads back.
//   kx7420-input-show make FOLDER   writes FOLDER/S7420.K74: fixtures 1 and 2 of page 1 on port A
//                                   at 1 and 4 (R, G, B), scene 1 on Effect 1, whose Material 1
//                                   has two Virtual Fixtures of R, G, B mapped onto them.
//   kx7420-input-show steps FOLDER  prints the Step count of that Material in FOLDER/S7420.K74.
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include "cli/headless_platform.h"
#include "show/effect_images.h"
#include "show/show.h"

namespace {

using namespace kx;

constexpr int kRed = 20;
constexpr int kGreen = 21;
constexpr int kBlue = 22;

int make(const AppPaths& paths) {
    HeadlessPlatform platform;
    Show show;
    for (int number : {1, 2}) {
        Fixture& f = show.library.at(0, number);
        f.name = QStringLiteral("RGB %1").arg(number);
        f.port = 0;
        f.startAddress = static_cast<std::int16_t>(1 + 3 * (number - 1));
        f.channelCount = 3;
        f.functions = {kRed, kGreen, kBlue};
    }
    show.scenes.at(1).effectNumber = 1;
    show.currentEffect = 1;
    Material& m = show.materials.at(1, 1);
    m.setFixtureCount(2);
    m.setChannelCount(3);
    m.setStepCount(1);
    for (int k = 1; k <= 3; ++k)
        m.setChannelFunction(k, kRed + k - 1);
    m.setMapped(1, 0, 1, true);
    m.setMapped(2, 0, 2, true);
    EffectImages images{show, paths};
    ShowFile file = makeShowFile(show, images, paths, {platform, platform});
    return file.saveShow(platform) ? 0 : 1;
}

int steps(const AppPaths& paths) {
    HeadlessPlatform platform;
    Show show;
    EffectImages images{show, paths};
    ShowFile file = makeShowFile(show, images, paths, {platform, platform});
    if (file.loadShow(platform) != LoadResult::Loaded || !images.open(1).done) return 1;
    QTextStream(stdout) << show.materials.at(1, 1).stepCount() << '\n';
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) return 2;
    // The working files go to a folder of their own, never beside the program under test.
    const QString folder = QDir(args[2]).absolutePath();
    AppPaths paths = AppPaths::under(folder + "/.input-show");
    paths.showFile = folder + "/S7420.K74";
    QDir().mkpath(paths.scTemp);
    if (args[1] == "make") return make(paths);
    if (args[1] == "steps") return steps(paths);
    return 2;
}
