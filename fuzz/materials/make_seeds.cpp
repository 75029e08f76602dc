// Writes the seed corpora of the Material fuzz targets: files as the program writes them.
// Usage: make_material_seeds <fuzz folder>
#include <QDir>
#include <cstdio>

#include "base/file_io.h"
#include "materials/material_exchange.h"
#include "materials/materials_section.h"
#include "materials/memory_images.h"
#include "materials/step_operations.h"
#include "storage/record_io.h"

namespace {

using namespace kx;

FixtureLibrary sampleLibrary() {
    FixtureLibrary lib;
    for (int page = 0; page < libraryPages; ++page) {
        for (int n = 1; n <= 3; ++n) {
            Fixture& f = lib.at(page, n);
            f.channelCount = 4;
            f.startAddress = static_cast<std::int16_t>(n * 10);
            f.port = static_cast<std::uint8_t>(n);
            f.functions = {1, 2, 20, 20};
        }
    }
    return lib;
}

Material sampleMaterial(int steps, bool motion) {
    Material m;
    m.setFixtureCount(2);
    m.setChannelCount(3);
    m.setStepCount(steps);
    m.setRemark(QStringLiteral("素材"));
    m.setJumpSize(2);
    m.setPerStepTime(1);
    for (int k = 1; k <= 3; ++k)
        m.setChannelFunction(k, k == 3 ? 20 : k);
    for (int s = 1; s <= steps; ++s) {
        m.setStepTime(s, s);
        m.setJumpMark(s, s % 2);
        if (s != 2) m.setValue(s, 1 + s % 2, 1 + s % 3, 40 * s % 256);
    }
    m.setMapped(1, 0, 1, true);
    m.setMapped(2, 0, 2, true);
    m.setMapped(2, 1, 3, true);
    m.setTempChannel(1, 20);
    if (motion) {
        m.setMotionMode(1);
        m.setMotionGlobal(1, 10);
        m.setMotionPerFixture(1, 7, 50);
    }
    return m;
}

bool put(const QString& dir, const QString& name, const QByteArray& bytes) {
    QDir().mkpath(dir);
    return writeWholeFile(dir + "/" + name, bytes);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <fuzz folder>\n", argv[0]);
        return 2;
    }
    const QString corpus = QString::fromLocal8Bit(argv[1]) + "/materials/corpus/";
    const FixtureLibrary lib = sampleLibrary();
    MaterialBank bank;
    bank.at(1, 1) = sampleMaterial(3, false);
    bank.at(2, 5) = sampleMaterial(2, true);

    bool ok = put(corpus + "material_file", "plain.K_1SC",
                  *buildSingleMaterialFile(sampleMaterial(3, false), lib)) &&
              put(corpus + "material_file", "motion.K_1SC",
                  *buildSingleMaterialFile(sampleMaterial(2, true), lib)) &&
              put(corpus + "effect_image", "bank", *buildEffectImage(bank, lib)) &&
              put(corpus + "step_clipboard", "SC_COPY", buildStepClipboard(bank.at(1, 1), 1, 3));

    // Section 11 inside a Show File header, with two Effects' images.
    test::MemoryImages images;
    images.setImage(4, *buildEffectImage(bank, lib));
    RecordBuffer buf(65536);
    int cursor = 204;
    int current = 9;
    MaterialBank open;
    open.at(20, 12) = sampleMaterial(1, false);
    saveMaterialsSection(buf, cursor, open, current, lib, images);
    ok = ok && buf.ok() && put(corpus + "materials_section", "section", buf.bytes(cursor));
    if (!ok) std::fprintf(stderr, "could not write the seeds\n");
    return ok ? 0 : 1;
}
