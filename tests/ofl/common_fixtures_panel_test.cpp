#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>

#include "base/file_io.h"
#include "fixtures/definition_convert.h"
#include "fixtures/fixture_library_view.h"
#include "fixtures/ofl_definition.h"
#include "link/link_fixture.h"
#include "link/protocol.h"
#include "materials/builtin_materials.h"
#include "materials/material_output.h"
#include "shell/appearance_view.h"
#include "starter_library.h"
#include "support/typing.h"
#include "support/widget_lookup.h"

namespace kx {
namespace {

constexpr int kMaterialRun = 8;

// The Common Fixtures panel of the real library view over the converted ADJ definitions and the
// starter library, with the simulated Controller on loopback for what the fixture then plays.
class CommonFixturesPanelTest : public test::LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        const QString appSet = platform.dir.path() + "/AppSet";
        ASSERT_TRUE(starter::writeStarterLibrary(appSet).failures.isEmpty());
        for (const char* file : {"flat-par-qa12.json", "flat-par-qa12xs.json"}) {
            const auto bytes =
                readWholeFile(QStringLiteral(KX_OFL_DATA "/fixtures/american-dj/") + file);
            ASSERT_TRUE(bytes) << file;
            const DefinitionRead r = readOflDefinition(*bytes, "American DJ");
            ASSERT_TRUE(r.definition) << file;
            ASSERT_TRUE(
                writeConversion(convertDefinition(*r.definition, names), paths.commonFixturesDir)
                    .isEmpty());
        }
        view = std::make_unique<FixtureLibraryView>(
            library, groups, names, paths,
            FixtureLibraryView::Services{appearance,
                                         pictures,
                                         wheel,
                                         {platform, platform},
                                         [](QWidget* v) { v->show(); },
                                         [this] { view->Fun_窗体载入(); }});
        view->resize(1280, 681);
        view->Fun_窗体载入();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        test::clickNamed(view.get(), "Command常用灯具");
        search = test::named<QLineEdit>(view.get(), "Text常用灯具搜索");
        makers = test::named<QListWidget>(view.get(), "List灯具厂家");
        fixtures = test::named<QListWidget>(view.get(), "List灯具名称");
    }

    QStringList shown(const QListWidget* list) const {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

    void clickItem(QListWidget* list, const QString& text) {
        const auto items = list->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << text.toStdString();
        list->scrollToItem(items.first());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(items.first()).center());
    }

    AppPaths paths = AppPaths::under(platform.dir.path());
    FixtureLibrary library;
    FixtureGroups groups;
    ChannelFunctionNames names = defaultChannelFunctionNames();
    Appearance appearance;
    PictureStore pictures;
    WheelRouter wheel;
    std::unique_ptr<FixtureLibraryView> view;
    QLineEdit* search = nullptr;
    QListWidget* makers = nullptr;
    QListWidget* fixtures = nullptr;
};

TEST_F(CommonFixturesPanelTest, TypingFiltersMakersAndFixturesWithChannelCountAndMode) {
    EXPECT_EQ(shown(makers), (QStringList{"American DJ", "通用"}));
    EXPECT_TRUE(shown(fixtures).isEmpty());

    test::retype(search, "qa12");
    EXPECT_EQ(shown(makers), QStringList{"American DJ"});
    const QStringList hits = shown(fixtures);
    ASSERT_EQ(hits.size(), 16);
    EXPECT_EQ(hits.first(), "Flat Par QA12 - 1ch  [1通道]  American DJ");
    EXPECT_TRUE(hits.contains("Flat Par QA12 - 7ch  [7通道]  American DJ"));
    EXPECT_TRUE(hits.contains("Flat Par QA12XS - 8ch  [8通道]  American DJ"));

    // Width and case do not matter, and every word must match.
    test::retype(search, "ＦＬＡＴ par qa12xs 5CH");
    EXPECT_EQ(shown(fixtures), QStringList{"Flat Par QA12XS - 5ch  [5通道]  American DJ"});
    test::retype(search, "帕灯");
    EXPECT_EQ(shown(makers), QStringList{"通用"});
    EXPECT_EQ(shown(fixtures).size(), 3);  // RGB帕灯, RGBW帕灯, RGBW帕灯-调光频闪

    // A manufacturer chosen narrows the list to its own fixtures.
    search->selectAll();
    QTest::keyClick(search, Qt::Key_Backspace);
    EXPECT_EQ(shown(makers), (QStringList{"American DJ", "通用"}));
    clickItem(makers, "通用");
    EXPECT_EQ(shown(fixtures).size(), 9);
    EXPECT_TRUE(shown(fixtures).contains("RGB帕灯  [3通道]"));
}

TEST_F(CommonFixturesPanelTest, ImportingAFoundModePatchesTheCurrentFixtureWhichPlaysRed) {
    test::retype(search, "qa12 7ch");
    clickItem(fixtures, "Flat Par QA12 - 7ch  [7通道]  American DJ");
    test::clickNamed(view.get(), "Command导入选择灯具");
    const Fixture& par = library.at(0, 1);
    EXPECT_EQ(par.name, "Flat Par QA12 7ch");
    ASSERT_EQ(par.channelCount, 7);
    const QStringList expected = {"R", "G", "B", "琥珀", "染色调光", "染色频闪", "颜色"};
    for (int ch = 0; ch < 7; ++ch)
        EXPECT_EQ(names[par.functions[ch]], expected[ch]) << ch + 1;
    EXPECT_EQ(test::named<QLineEdit>(view.get(), "Text灯具名称")->text(), "Flat Par QA12 7ch");

    // The standard red chase for RGB pars, its first Virtual Fixture mapped onto the imported
    // fixture at address 1, played to the Controller.
    library.at(0, 1).startAddress = 1;
    Material chase;
    ASSERT_TRUE(readBuiltInMaterial({"红色跑马", builtInFolder(platform.dir.path() + "/AppSet",
                                                               kStandardLibrary, 1) +
                                                     "/红色跑马.K_1SC"},
                                    chase)
                    .done);
    for (int v = 1; v <= chase.fixtureCount(); ++v)
        for (int n = 1; n <= kFixturesPerPage; ++n)
            chase.setMapped(v, 0, n, false);
    chase.setMapped(1, 0, 1, true);
    MaterialOutput live;
    link->live().defineView(
        kMaterialRun,
        {[&](DmxFrame& f) { live.previewRun(chase, 1, library, false, f); }, true, false});
    connectLink();
    link->live().setView(kMaterialRun);
    live.resetRunState();
    bool red = false;
    for (int t = 0; t < chase.stepCount() * chase.unifiedTime() && !red; ++t) {
        const auto before = sim->frameTimesNs(cmd::kDmxPortsAB).size();
        link->outputTick();
        ASSERT_TRUE(platform.pumpUntil(
            [&] { return sim->frameTimesNs(cmd::kDmxPortsAB).size() > before; }));
        const QByteArray frame = sim->lastFrame(cmd::kDmxPortsAB);
        // R on channel 1 and the dimmer on channel 5; green and blue stay dark.
        red = static_cast<std::uint8_t>(frame[0]) == 255 &&
              static_cast<std::uint8_t>(frame[4]) == 255;
        EXPECT_EQ(frame[1], 0);
        EXPECT_EQ(frame[2], 0);
    }
    EXPECT_TRUE(red);
}

}  // namespace
}  // namespace kx
