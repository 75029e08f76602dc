#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <set>

#include "base/file_io.h"
#include "base/settings.h"
#include "fixtures/action_thresholds.h"
#include "fixtures/common_fixtures.h"
#include "fixtures/definition_convert.h"
#include "fixtures/fixture_files.h"
#include "fixtures/ofl_definition.h"
#include "ofl_library.h"

namespace kx {
namespace {

const QString kData = QStringLiteral(KX_OFL_DATA);

// The whole bundled library, converted once for the suite as the build converts it.
class OflBundleTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        stage = new QTemporaryDir;
        report = new ofl::BundleReport(ofl::writeOflLibrary(kData, stage->path() + "/AppSet"));
    }
    static void TearDownTestSuite() {
        delete report;
        delete stage;
    }

    static QString root() { return stage->path() + "/AppSet/常用灯具"; }
    static ChannelFunctionNames shippedNames() {
        return loadChannelFunctionNames(stage->path() + "/AppSet/通道描述自定义.txt");
    }

    // Every definition of the bundle, read again, with its manufacturer's display name.
    template <typename Visit>
    static void eachDefinition(Visit visit) {
        const QJsonObject makers =
            QJsonDocument::fromJson(readWholeFile(kData + "/fixtures/manufacturers.json").value())
                .object();
        QDirIterator it(kData + "/fixtures", {"*.json"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.endsWith("manufacturers.json")) continue;
            const QByteArray bytes = readWholeFile(path).value();
            if (isOflRedirect(bytes)) continue;
            const QString key = QFileInfo(path).dir().dirName();
            const DefinitionRead r =
                readOflDefinition(bytes, makers.value(key).toObject().value("name").toString());
            ASSERT_TRUE(r.definition) << path.toStdString();
            visit(path, *r.definition);
        }
    }

    static QTemporaryDir* stage;
    static ofl::BundleReport* report;
};

QTemporaryDir* OflBundleTest::stage = nullptr;
ofl::BundleReport* OflBundleTest::report = nullptr;

TEST_F(OflBundleTest, EveryModeWithin32ChannelsIsAFileTheReaderLoadsBackIdentical) {
    ASSERT_TRUE(report->failures.isEmpty()) << report->failures.join('\n').toStdString();
    ChannelFunctionNames names = shippedNames();
    int modes = 0;
    int large = 0;
    int files = 0;
    eachDefinition([&](const QString& path, const FixtureDefinition& def) {
        for (const DefinitionMode& m : def.modes) {
            ++modes;
            EXPECT_TRUE(m.problem.isEmpty()) << path.toStdString();
            if (m.channels.size() > kMaxFixtureChannels) ++large;
        }
        // The shipped names already hold every custom function: converting again names none.
        const Conversion c = convertDefinition(def, names);
        EXPECT_TRUE(c.newCustomCodes.empty()) << path.toStdString();
        for (const ConvertedMode& m : c.modes) {
            Fixture loaded;
            const auto bytes = readWholeFile(root() + "/" + c.folder + "/" + m.fileStem + ".K_1DK");
            ASSERT_TRUE(bytes) << m.fileStem.toStdString();
            ASSERT_EQ(readSingleFixtureBytes(*bytes, loaded), ParseResult::Ok);
            EXPECT_EQ(loaded, m.fixture) << m.fileStem.toStdString();
            ++files;
        }
    });
    EXPECT_EQ(files, report->modes);
    EXPECT_EQ(modes - large, report->modes);
    EXPECT_EQ(large, report->skipped.size());
    EXPECT_EQ(static_cast<int>(indexCommonFixtures(root()).size()), report->modes);
    EXPECT_GT(report->modes, 2500);
    EXPECT_GT(report->manufacturers, 130);
}

TEST_F(OflBundleTest, OnlyColourIntensitiesAndPanTiltReachTheThresholdLists) {
    const ChannelFunctionNames names = shippedNames();
    ChannelFunctionNames converting = names;
    const auto is = [](const DefinitionChannel& ch, std::initializer_list<const char*> types) {
        return std::any_of(ch.capabilities.begin(), ch.capabilities.end(), [&](const auto& c) {
            return std::any_of(types.begin(), types.end(),
                               [&](const char* t) { return c.type == QLatin1String(t); });
        });
    };
    int colour = 0;
    int movement = 0;
    eachDefinition([&](const QString& path, const FixtureDefinition& def) {
        const Conversion c = convertDefinition(def, converting);
        for (const ConvertedMode& m : c.modes) {
            const DefinitionMode& mode =
                *std::find_if(def.modes.begin(), def.modes.end(),
                              [&](const DefinitionMode& d) { return d.name == m.mode; });
            FixtureLibrary lib;
            lib.at(0, 1) = m.fixture;
            lib.at(0, 1).startAddress = 1;
            for (const int index : buildChannelList(lib, names, ChannelKind::Colour)) {
                const DefinitionChannel& ch = mode.channels.at(index - 1);
                const bool real =
                    ch.fine == 0 &&
                    std::any_of(ch.capabilities.begin(), ch.capabilities.end(), [](const auto& c) {
                        return c.type == "ColorIntensity" &&
                               QStringList{"Red",   "Green",      "Blue",
                                           "White", "Warm White", "Cold White"}
                                   .contains(c.colour);
                    });
                EXPECT_TRUE(real) << path.toStdString() << " " << ch.name.toStdString();
                ++colour;
            }
            for (const int index : buildChannelList(lib, names, ChannelKind::Movement)) {
                const DefinitionChannel& ch = mode.channels.at(index - 1);
                EXPECT_TRUE(is(ch, {"Pan", "Tilt", "PanContinuous", "TiltContinuous"}))
                    << path.toStdString() << " " << ch.name.toStdString();
                ++movement;
            }
        }
    });
    EXPECT_GT(colour, 5000);
    EXPECT_GT(movement, 500);
}

TEST_F(OflBundleTest, NamesFitTheFilesAndEveryFileSystem) {
    std::set<QString> folders;
    for (const CommonFixtureEntry& e : indexCommonFixtures(root())) {
        folders.insert(e.manufacturer);
        for (const QString& name : {e.manufacturer, e.fixture}) {
            EXPECT_EQ(mendFileName(name), name);
            EXPECT_LE(name.size(), kMaxFileStem);
        }
        Fixture f;
        readSingleFixtureBytes(
            readWholeFile(root() + "/" + e.manufacturer + "/" + e.fixture + ".K_1DK").value(), f);
        EXPECT_FALSE(f.name.isEmpty());
        EXPECT_LE(f.name.size(), kFixtureNameMax) << f.name.toStdString();
        EXPECT_EQ(f.startAddress, 0);
    }
    EXPECT_EQ(static_cast<int>(folders.size()), report->manufacturers);
    EXPECT_EQ(listManufacturers(root()).size(), report->manufacturers);
    EXPECT_TRUE(folders.count("American DJ"));
}

// A data folder the test writes: manufacturers.json and the given definitions of maker "acme".
QString dataWith(const QTemporaryDir& dir,
                 std::initializer_list<std::pair<const char*, QByteArray>> files) {
    QDir().mkpath(dir.path() + "/fixtures/acme");
    writeWholeFile(dir.path() + "/fixtures/manufacturers.json", R"({"acme": {"name": "Acme"}})");
    for (const auto& [name, bytes] : files)
        writeWholeFile(dir.path() + "/fixtures/acme/" + name, bytes);
    return dir.path();
}

TEST(OflBundle, ADefinitionThatCannotBeConvertedFailsWithItsFileAndReason) {
    QTemporaryDir data;
    QTemporaryDir out;
    const QByteArray good = R"({"name": "Par", "categories": ["Color Changer"],
        "availableChannels": {"Red": {"capability": {"type": "ColorIntensity", "color": "Red"}}},
        "modes": [{"name": "1ch", "channels": ["Red"]}]})";
    const ofl::BundleReport r = ofl::writeOflLibrary(
        dataWith(data, {{"par.json", good},
                        {"cut.json", good.left(40)},
                        {"lost.json",
                         R"({"name": "Lost", "modes": [{"name": "m", "channels": ["Dimmer"]}]})"},
                        {"twin.json", good}}),
        out.path());
    ASSERT_EQ(r.failures.size(), 3) << r.failures.join('\n').toStdString();
    EXPECT_TRUE(r.failures[0].contains("cut.json: JSON 格式错误"));
    EXPECT_TRUE(r.failures[1].contains("lost.json: m: 通道“Dimmer”未定义"));
    EXPECT_TRUE(r.failures[2].contains("twin.json: 1ch: file name Par - 1ch taken"));
    EXPECT_EQ(r.modes, 2);
}

TEST(OflBundle, MergingTheShippedNamesKeepsWhatTheUserRenamed) {
    QTemporaryDir dir;
    const QString shipped = dir.path() + "/shipped.txt";
    const QString user = dir.path() + "/user.txt";
    ASSERT_TRUE(Fun_WriteText(shipped, "T150=维护\r\nT151=烟雾输出\r\nT152=效果\r\n"));
    ASSERT_TRUE(Fun_WriteText(user, "T90=继电器\r\nT151=我的灯\r\nT152=效果\r\n"));
    const QStringList kept = ofl::mergeCustomNames(shipped, user);
    EXPECT_EQ(kept, QStringList{"T151: 烟雾输出 kept as 我的灯"});
    const ChannelFunctionNames names = loadChannelFunctionNames(user);
    EXPECT_EQ(names[90], "继电器");
    EXPECT_EQ(names[150], "维护");
    EXPECT_EQ(names[151], "我的灯");
    EXPECT_EQ(names[152], "效果");
}

}  // namespace
}  // namespace kx
