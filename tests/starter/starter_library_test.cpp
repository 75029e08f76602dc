#include <gtest/gtest.h>

#include <QDir>
#include <QStringDecoder>
#include <QTest>
#include <algorithm>
#include <map>
#include <set>

#include "base/file_io.h"
#include "fixtures/common_fixtures.h"
#include "materials/builtin_materials_panel.h"
#include "materials/material_test_util.h"
#include "starter_fixtures.h"
#include "starter_library.h"
#include "starter_materials.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

using namespace kx::starter;

// The starter library as the build writes it, read back with the tool's own readers.
class StarterLibraryTest : public test::FakePlatformTest {
  protected:
    void SetUp() override {
        const WriteReport report = writeStarterLibrary(appSet());
        EXPECT_TRUE(report.failures.isEmpty()) << report.failures.join("\n").toStdString();
        written = report;
    }
    QString appSet() const { return fake.dir.path() + "/AppSet"; }
    QString fixturesRoot() const { return appSet() + "/常用灯具"; }

    WriteReport written;
};

std::vector<int> functionsOf(const Fixture& f) {
    return {f.functions.begin(), f.functions.begin() + f.channelCount};
}

bool hasAll(const Fixture& f, std::initializer_list<int> codes) {
    const std::vector<int> fns = functionsOf(f);
    return std::all_of(codes.begin(), codes.end(),
                       [&](int c) { return std::find(fns.begin(), fns.end(), c) != fns.end(); });
}

TEST_F(StarterLibraryTest, EveryCommonFixtureImportsThroughTheCommonFixturesPanel) {
    EXPECT_EQ(written.fixtures, 9);
    EXPECT_EQ(listManufacturers(fixturesRoot()), QStringList{"通用"});
    const QStringList names = listCommonFixtures(fixturesRoot(), "通用");
    ASSERT_EQ(names.size(), 9);

    std::map<QString, Fixture> imported;
    FixtureLibrary lib;
    for (const QString& name : names) {
        lib.at(1, 50).startAddress = 300;
        const Outcome o = importCommonFixture(lib, 1, 50, fixturesRoot(), {"通用", name});
        ASSERT_TRUE(o.done) << name.toStdString() << " " << o.message.toStdString();
        EXPECT_EQ(lib.at(1, 50), fixtureType(name)) << name.toStdString();
        EXPECT_EQ(lib.at(1, 50).name, name);
        imported[name] = lib.at(1, 50);
    }
    EXPECT_EQ(functionsOf(imported[kRgbPar]), (std::vector<int>{20, 21, 22}));
    EXPECT_EQ(functionsOf(imported[kRgbwPar]), (std::vector<int>{20, 21, 22, 23}));
    EXPECT_TRUE(hasAll(imported[kDimmerPar], {10, 20, 21, 22, 23, 12}));
    EXPECT_TRUE(hasAll(imported[kWashHead], {1, 2, 3, 4, 5, 10, 20, 21, 22, 23}));
    EXPECT_TRUE(hasAll(imported[kSpotHead], {1, 2, 3, 4, 30, 31, 11, 13}));
    EXPECT_TRUE(hasAll(imported[kLaser], {15, 41, 42}));
    EXPECT_TRUE(hasAll(imported[kStrobe], {50, 51}));
    EXPECT_EQ(functionsOf(imported[kSmoke]), std::vector<int>{33});
    EXPECT_EQ(functionsOf(imported[kRelay]), std::vector<int>{90});
    for (const auto& [name, f] : imported)
        EXPECT_FALSE(isPatched(f)) << "a type carries no address: " << name.toStdString();
}

TEST_F(StarterLibraryTest, EveryMaterialImportsThroughTheBuiltInPanelWithItsDescription) {
    std::map<QString, const StarterMaterial*> shipped;
    const std::vector<StarterMaterial> materials = starterMaterials();
    for (const StarterMaterial& s : materials)
        shipped[s.caption] = &s;
    EXPECT_EQ(written.materials, static_cast<int>(materials.size()));

    Material current;
    BuiltInMaterialsPanel panel(appSet(), fake, Appearance{});
    panel.setImport([&](const BuiltInEntry& e) { return importBuiltInMaterial(e, current, fake); });
    QPushButton standard, personal;
    panel.attachLibraryButtons(&standard, &personal);
    std::set<QString> seen;
    for (int c = 1; c <= kBuiltInCategoryCount; ++c) {
        if (panel.isHidden()) QTest::mouseClick(&standard, Qt::LeftButton);
        QTest::mouseClick(panel.categoryButton(c), Qt::LeftButton);
        const int count = static_cast<int>(panel.state().entries().size());
        EXPECT_GE(count, 3) << builtInCategoryCaption(c).toStdString();
        for (int n = 1; n <= count; ++n) {
            if (panel.isHidden()) QTest::mouseClick(&standard, Qt::LeftButton);
            const QString caption = panel.entryButton(n)->text();
            ASSERT_TRUE(shipped.count(caption)) << caption.toStdString();
            const StarterMaterial& s = *shipped[caption];
            EXPECT_EQ(s.category, c);

            const QByteArray raw = *readWholeFile(panel.state().entry(n).path.chopped(6) + ".txt");
            QStringDecoder gbk("GBK");
            const QString decoded = gbk.decode(raw);
            EXPECT_FALSE(gbk.hasError()) << caption.toStdString();
            EXPECT_EQ(decoded, s.description + "\r\n");
            QTest::mouseClick(panel.entryButton(n), Qt::RightButton);
            EXPECT_EQ(panel.Text说明->toPlainText(), QString(s.description).remove('\r') + "\n");
            EXPECT_TRUE(s.description.contains("适用灯具")) << caption.toStdString();

            fake.yesNoAnswers = {true};
            QTest::mouseClick(panel.entryButton(n), Qt::LeftButton);
            EXPECT_TRUE(materialExists(current)) << caption.toStdString();
            EXPECT_EQ(current, s.material) << caption.toStdString();
            seen.insert(caption);
        }
    }
    EXPECT_EQ(seen.size(), materials.size());
    EXPECT_TRUE(fake.messages.isEmpty()) << fake.messages.join(",").toStdString();
}

TEST_F(StarterLibraryTest, ChasesAndCirclesComeFromTheGenerators) {
    for (const StarterMaterial& s : starterMaterials()) {
        const Material& m = s.material;
        if (s.caption.contains("跑马")) {
            EXPECT_EQ(m.stepCount(), m.fixtureCount()) << s.caption.toStdString();
        }
        if (m.motionMode() == 1) {
            // One revolution: floor(360 / speed) + 1 Steps, faded at a tenth of a second.
            EXPECT_EQ(m.stepCount(), 360 / m.motionGlobal(1) + 1) << s.caption.toStdString();
            EXPECT_EQ(m.allStepsFade(), 1);
            EXPECT_EQ(m.unifiedTime(), 1);
        }
    }
}

TEST_F(StarterLibraryTest, PersonalFoldersAreCreatedEmptyAndNeverWritten) {
    for (int c = 1; c <= kBuiltInCategoryCount; ++c) {
        const QDir d(builtInFolder(appSet(), kPersonalLibrary, c));
        EXPECT_TRUE(d.exists());
        EXPECT_TRUE(d.entryList(QDir::Files).isEmpty());
    }
    const QString mine = builtInFolder(appSet(), kPersonalLibrary, 8) + "/我的.K_1SC";
    writeWholeFile(mine, "mine");
    EXPECT_TRUE(writeStarterLibrary(appSet()).failures.isEmpty());
    EXPECT_EQ(*readWholeFile(mine), "mine");
}

}  // namespace
}  // namespace kx
