#include "starter_library.h"

#include <QDir>
#include <QStringEncoder>

#include "base/file_io.h"
#include "base/settings.h"
#include "fixtures/fixture_files.h"
#include "materials/builtin_materials.h"
#include "materials/material_exchange.h"
#include "starter_fixtures.h"
#include "starter_materials.h"

namespace kx::starter {

namespace {

// A description the code page cannot hold would reach the user with question marks.
bool fitsCodePage(const QString& text) {
    QStringEncoder encoder("GBK");
    encoder.encode(text);
    return encoder.isValid() && !encoder.hasError();
}

void writeFixtures(const QString& appSetDir, WriteReport& report) {
    const QString folder = appSetDir + "/常用灯具/" + kManufacturer;
    QDir().mkpath(folder);
    for (const Fixture& type : fixtureTypes()) {
        FixtureLibrary lib;
        lib.at(0, 1) = type;
        const QString path = folder + "/" + type.name + "." + kSingleFixtureExt;
        const Outcome written = writeSingleFixtureFile(lib, 0, 1, path);
        if (written.done)
            ++report.fixtures;
        else
            report.failures << path + ": " + written.message;
    }
}

void writeMaterials(const QString& appSetDir, WriteReport& report) {
    const FixtureLibrary room = demonstrationLibrary();
    for (const StarterMaterial& s : starterMaterials()) {
        const QString folder = builtInFolder(appSetDir, kStandardLibrary, s.category);
        QDir().mkpath(folder);
        const QString base = folder + "/" + s.caption;
        const auto bytes = buildSingleMaterialFile(s.material, room);
        if (!bytes || !writeWholeFile(base + "." + kSingleMaterialExt, *bytes)) {
            report.failures << base + ": not written";
            continue;
        }
        if (!fitsCodePage(s.description) || !Fun_WriteText(base + ".txt", s.description)) {
            report.failures << base + ".txt: not written in code page 936";
            continue;
        }
        ++report.materials;
    }
}

}  // namespace

WriteReport writeStarterLibrary(const QString& appSetDir) {
    WriteReport report;
    writeFixtures(appSetDir, report);
    writeMaterials(appSetDir, report);
    for (int c = 1; c <= kBuiltInCategoryCount; ++c)
        QDir().mkpath(builtInFolder(appSetDir, kPersonalLibrary, c));
    return report;
}

}  // namespace kx::starter
