#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include "base/file_io.h"
#include "cli/cli_commands.h"
#include "cli/show_check.h"
#include "cli/show_diff.h"
#include "cli/show_info.h"
#include "show_maker.h"
#include "storage/record_io.h"

namespace kx::test {
namespace {

QStringList differences(const QByteArray& a, const QByteArray& b) {
    const auto x = readShowBytes(a);
    const auto y = readShowBytes(b);
    EXPECT_EQ(x->parse, ParseResult::Ok);
    EXPECT_EQ(y->parse, ParseResult::Ok);
    QStringList out;
    for (const ShowDifference& d : diffShows(*x, *y))
        out << differenceText(d);
    return out;
}

TEST(ShowDiff, NamesEachChangeInTheShowsTerms) {
    ShowMaker base;
    const QByteArray before = base.bytes();
    EXPECT_TRUE(differences(before, before).isEmpty());

    ShowMaker step;
    step.show->materials.at(1, 1).setValue(2, 2, 3, 200);
    EXPECT_EQ(differences(before, step.bytes()),
              QStringList{"Material 1/1/1 Step 2 Virtual Fixture 2 channel 3: 0 -> 200"});

    ShowMaker moved;
    moved.show->library.at(0, 2).startAddress = 30;
    moved.show->library.at(0, 2).port = 2;
    EXPECT_EQ(differences(before, moved.bytes()),
              (QStringList{"fixture 0/2 address: 10 -> 30", "fixture 0/2 port: \"B\" -> \"C\""}));

    ShowMaker scene;
    scene.show->scenes.at(4).effectNumber = 2;
    EXPECT_EQ(differences(before, scene.bytes()), QStringList{"Scene 4 effect: 1 -> 2"});

    ShowMaker renamed;
    renamed.show->effects.at(1).remark = QStringLiteral("结束");
    EXPECT_EQ(differences(before, renamed.bytes()),
              QStringList{"Effect 1 name: \"开场\" -> \"结束\""});

    ShowMaker beat;
    beat.show->effects.at(1).parts[0].selections[beatKey(2, 3)].set(4);
    beat.show->materials.at(1, 1).setMapped(2, 0, 2, true);
    EXPECT_EQ(differences(before, beat.bytes()),
              (QStringList{"Effect 1 no-bass part Bar 2 Beat 3 Materials: none -> 5",
                           "Material 1/1/1 Virtual Fixture 2 mapped to fixture 0/2: no -> yes"}));
}

TEST(ShowInfo, TellsWhatTheShowHolds) {
    ShowMaker maker;
    const QByteArray bytes = maker.bytes();
    const auto loaded = readShowBytes(bytes);
    ASSERT_EQ(loaded->parse, ParseResult::Ok);
    const QJsonObject info = showInfo(*loaded, bytes);

    const QJsonArray sections = info["sections"].toArray();
    ASSERT_EQ(sections.size(), 7);
    int total = kShowHeaderSize;
    for (const QJsonValue s : sections)
        total += s["bytes"].toInt();
    EXPECT_EQ(total, bytes.size());
    EXPECT_EQ(sections[0]["name"].toString(), "Room Control");
    EXPECT_EQ(sections[6]["section"].toInt(), kSectionStamp);

    const QJsonArray fixtures = info["fixtures"].toArray();
    ASSERT_EQ(fixtures.size(), 2);
    EXPECT_EQ(fixtures[1].toObject(), (QJsonObject{{"page", 0},
                                                   {"number", 2},
                                                   {"name", "Spot"},
                                                   {"port", "B"},
                                                   {"address", 10},
                                                   {"channels", 16}}));
    const QJsonArray effects = info["effects"].toArray();
    ASSERT_EQ(effects.size(), 1);
    EXPECT_EQ(effects[0]["name"].toString(), "开场");
    EXPECT_EQ(effects[0]["materials"].toInt(), 1);
    EXPECT_EQ(effects[0]["steps"].toInt(), 3);
    EXPECT_EQ(effects[0]["parts"][0]["bars"].toInt(), 4);
    const QJsonArray scenes = info["scenes"].toArray();
    const auto birthday = std::find_if(scenes.begin(), scenes.end(),
                                       [](const QJsonValue& v) { return v["scene"].toInt() == 4; });
    ASSERT_NE(birthday, scenes.end());
    EXPECT_EQ(birthday->toObject()["effectName"].toString(), "开场");
    EXPECT_EQ(info["roomControl"].toObject(), (QJsonObject{{"startupScene", 4}}));
    EXPECT_EQ(info["saveStamp"].toString(), kTestStamp);
    EXPECT_TRUE(showInfoText(info).contains("Effect 1 \"开场\": no-bass part 4 Bars x 4 Beats"));
}

TEST(ShowCheck, FindsWhatTheReadersFind) {
    ShowMaker maker;
    const QByteArray good = maker.bytes();
    EXPECT_TRUE(checkShow(good).empty());

    // Directory entry 12 led elsewhere: the Effects would silently be empty.
    QByteArray stale = good;
    RecordBuffer buf = RecordBuffer::fromBytes(stale);
    const int effects = Fun_GetAt4(4 * kSectionEffects, buf);
    Fun_PutAt4(effects + 1, 4 * kSectionEffects, buf);
    stale = buf.bytes(buf.capacity());
    auto findings = checkShow(stale);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].section, kSectionEffects);
    EXPECT_EQ(findings[0].position, effects + 1);
    EXPECT_TRUE(findingText(findings[0]).startsWith("Effects (section 12) at byte"));
    EXPECT_TRUE(findingText(findings[0]).contains("points at no section"));

    // Cut inside the Materials section: that reader stops, the later entries point outside.
    const int materials = Fun_GetAt4(4 * kSectionMaterials, buf);
    findings = checkShow(good.left(materials + 20));
    ASSERT_FALSE(findings.empty());
    EXPECT_EQ(findings.back().section, kSectionMaterials);
    EXPECT_TRUE(findings.back().text.contains("damaged"));
    EXPECT_TRUE(std::any_of(findings.begin(), findings.end(), [](const CheckFinding& f) {
        return f.section == kSectionStamp && f.text.contains("outside the file");
    }));

    // A damaged Material image inside an otherwise sound file: the Materials reader refuses it.
    QByteArray image = maker.images.image(1);
    ASSERT_FALSE(image.isEmpty());
    QByteArray badImage = good;
    const int at = good.indexOf(image);
    ASSERT_GT(at, 0);
    badImage[at + 6] = static_cast<char>(0x7F);  // the first Material record far beyond
    findings = checkShow(badImage);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].section, kSectionMaterials);
    EXPECT_EQ(findings[0].position, materials);
    EXPECT_TRUE(findings[0].text.startsWith("damaged"));

    EXPECT_EQ(checkShow("not a show").at(0).text, "not a Show File: the tag is not F10410A1");
}

struct CliResult {
    int code;
    QString out;
    QString err;
};
CliResult cli(const QStringList& args) {
    QString out;
    QString err;
    QTextStream o(&out);
    QTextStream e(&err);
    const int code = runCli(args, o, e);
    o.flush();
    e.flush();
    return {code, out, err};
}

TEST(CliCommands, HelpUsageAndExitCodes) {
    QTemporaryDir dir;
    ShowMaker a;
    const QString showA = dir.filePath("a.K74");
    ASSERT_TRUE(writeWholeFile(showA, a.bytes()));
    ShowMaker b;
    b.show->scenes.at(4).name = QStringLiteral("派对");
    const QString showB = dir.filePath("b.K74");
    ASSERT_TRUE(writeWholeFile(showB, b.bytes()));
    const QString cut = dir.filePath("cut.K74");
    ASSERT_TRUE(writeWholeFile(cut, a.bytes().left(600)));

    CliResult r = cli({"--help"});
    EXPECT_EQ(r.code, kExitOk);
    for (const char* command : {"info", "check", "diff", "export", "download"}) {
        EXPECT_TRUE(r.out.contains(QString("  ") + command)) << command;
        const CliResult help = cli({command, "--help"});
        EXPECT_EQ(help.code, kExitOk) << command;
        EXPECT_TRUE(help.out.startsWith(QString("Usage: kx7420-cli ") + command)) << command;
    }
    EXPECT_EQ(cli({}).code, kExitUsage);
    EXPECT_EQ(cli({"frobnicate"}).code, kExitUsage);
    EXPECT_EQ(cli({"info"}).code, kExitUsage);
    EXPECT_EQ(cli({"info", showA, "--bogus"}).code, kExitUsage);
    EXPECT_EQ(cli({"diff", showA}).code, kExitUsage);

    r = cli({"info", showA, "--json"});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8())["saveStamp"].toString(), kTestStamp);
    EXPECT_EQ(cli({"info", dir.filePath("missing.K74")}).code, kExitFailed);
    r = cli({"info", cut});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_TRUE(r.err.contains("damaged")) << r.err.toStdString();

    EXPECT_EQ(cli({"check", showA}).code, kExitOk);
    r = cli({"check", cut});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_TRUE(r.out.contains("(section")) << r.out.toStdString();

    EXPECT_EQ(cli({"diff", showA, showA}).code, kExitOk);
    r = cli({"diff", showA, showB});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.out, "Scene 4 name: \"生日\" -> \"派对\"\n");
    r = cli({"diff", showA, showB, "--json"});
    const QJsonObject diff = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_FALSE(diff["equal"].toBool());
    EXPECT_EQ(diff["differences"][0]["where"].toString(), "Scene 4");

    EXPECT_EQ(cli({"export", showA, "K_XYZ", dir.filePath("x")}).code, kExitUsage);
    EXPECT_EQ(cli({"export", showA, "K_1DK", "5/1", dir.filePath("x")}).code, kExitUsage);
    EXPECT_EQ(cli({"export", showA, "K_1XG", dir.filePath("x")}).code, kExitUsage);
    EXPECT_EQ(cli({"export", cut, "K_ADK", dir.filePath("x")}).code, kExitFailed);
}

}  // namespace
}  // namespace kx::test
