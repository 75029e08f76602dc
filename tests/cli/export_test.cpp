#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "base/file_io.h"
#include "cli/headless_platform.h"
#include "cli/show_export.h"
#include "effects/effect_files.h"
#include "fixtures/fixture_files.h"
#include "materials/material_bank_file.h"
#include "materials/material_exchange.h"
#include "show_maker.h"

namespace kx::test {
namespace {

// The window's save dialogs, answered with one path.
class SaveAs : public HeadlessPlatform, public ProgramFolder {
  public:
    explicit SaveAs(QString path) : m_path(std::move(path)) {}
    QString fileDialog(const FileDialog&) override { return m_path; }
    QString programDir() const override { return {}; }
    FileDialogs dialogs() { return {*this, *this}; }

  private:
    QString m_path;
};

// What a window export button writes from the loaded show, with the Effect opened (and for a
// Material, opened in the Material editor) as the window does first.
QByteArray windowExport(const QByteArray& showBytes, const ExportRequest& r, const QString& path) {
    auto l = readShowBytes(showBytes);
    Show& s = l->show;
    SaveAs save(path);
    const auto& n = r.numbers;
    if (r.kind == "K_1DK") {
        saveSingleFixture(s.library, n[0], n[1], save.dialogs());
    } else if (r.kind == "K_ADK") {
        saveAllFixtures(s.library, save.dialogs());
    } else {
        EffectFilesContext ctx{s.effects, s.materials, s.currentEffect, s.library, l->images};
        if (r.kind == "K_AXG") {
            exportAllEffects(ctx, save.dialogs());
        } else {
            EXPECT_TRUE(
                switchEffect(n[0], s.currentEffect, s.materials, s.library, l->images).done);
            if (r.kind == "K_1XG") exportEffect(ctx, save.dialogs());
            if (r.kind == "K_1MK") exportModule(ctx, n[1], save.dialogs());
            if (r.kind == "K_1SC") {
                applyDefaultTimes(s.materials, n[1], n[2]);  // what opening the editor does
                exportMaterial(s.materials.at(n[1], n[2]), s.library, save.dialogs());
            }
        }
    }
    return readWholeFile(path).value_or(QByteArray());
}

TEST(CliExport, EveryKindIsByteForByteTheWindowsFile) {
    ShowMaker maker;
    // A second Effect with Materials, so that one lives in its image and not in the open bank;
    // a Material with blank times, which the editor fills in.
    maker.show->materials.at(2, 5).setFixtureCount(1);
    maker.show->materials.at(2, 5).setChannelCount(2);
    maker.show->materials.at(2, 5).setStepCount(2);
    maker.show->materials.at(2, 5).setValue(1, 1, 2, 77);
    ASSERT_TRUE(switchEffect(3, maker.show->currentEffect, maker.show->materials,
                             maker.show->library, maker.images)
                    .done);
    maker.show->effects.at(3).remark = QStringLiteral("慢歌");
    maker.show->materials.at(1, 2).setFixtureCount(1);
    maker.show->materials.at(1, 2).setChannelCount(1);
    maker.show->materials.at(1, 2).setStepCount(1);
    const QByteArray show = maker.bytes();

    QTemporaryDir dir;
    const std::vector<std::pair<QString, QString>> requests{
        {"K_1DK", "0/2"}, {"K_ADK", ""}, {"K_1SC", "1/2/5"}, {"K_1SC", "3/1/2"}, {"K_1XG", "1"},
        {"K_1XG", "3"},   {"K_AXG", ""}, {"K_1MK", "1/2"},   {"K_1MK", "3/1"},
    };
    int i = 0;
    for (const auto& [kind, numbers] : requests) {
        const ExportParse parse = parseExportRequest(kind, numbers);
        ASSERT_TRUE(parse.request) << parse.error.toStdString();
        const QString path = dir.filePath(QString::number(i++) + "." + kind);
        const QByteArray window = windowExport(show, *parse.request, path);
        ASSERT_FALSE(window.isEmpty()) << kind.toStdString() << " " << numbers.toStdString();
        auto loaded = readShowBytes(show);
        const ExportResult cli = exportFromShow(*loaded, *parse.request);
        ASSERT_TRUE(cli.bytes) << cli.error.toStdString();
        EXPECT_EQ(*cli.bytes, window) << kind.toStdString() << " " << numbers.toStdString();
    }
    EXPECT_FALSE(parseExportRequest("K_1SC", "1/21/1").request);
    EXPECT_FALSE(parseExportRequest("K_1MK", "51/1").request);
    EXPECT_FALSE(parseExportRequest("k_adk", "1").request);
    EXPECT_TRUE(parseExportRequest("k_adk", "").request);
}

}  // namespace
}  // namespace kx::test
