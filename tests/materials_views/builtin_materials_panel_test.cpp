#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTest>

#include "base/file_io.h"
#include "materials/builtin_materials_panel.h"
#include "materials/material_exchange.h"
#include "materials/material_test_util.h"
#include "shell/appearance_view.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

class BuiltInMaterialsPanelTest : public test::FakePlatformTest {
  protected:
    void SetUp() override {
        panel.setImport(
            [this](const BuiltInEntry& e) { return importBuiltInMaterial(e, material, fake); });
        panel.attachLibraryButtons(&standard, &personal);
    }
    QString appSet() const { return fake.dir.path() + "/AppSet"; }
    // A Material file whose only value is `value`, with a description when one is given.
    void put(const QString& library, int category, const QString& name, int value,
             const QString& description = {}) {
        const QString folder = builtInFolder(appSet(), library, category);
        QDir().mkpath(folder);
        Material m = test::sized(1, 1, 1);
        m.setValue(1, 1, 1, value);
        writeWholeFile(folder + "/" + name + ".K_1SC", *buildSingleMaterialFile(m, {}));
        if (!description.isEmpty())
            writeWholeFile(folder + "/" + name + ".txt", QStringEncoder("GBK").encode(description));
    }
    static std::uint32_t colour(const QAbstractButton* b) {
        return buttonBackColour(b).value_or(0);
    }

    Appearance appearance;
    Material material = test::sized(2, 2, 2);
    QPushButton standard{"标准素材"};
    QPushButton personal{"个性素材"};
    BuiltInMaterialsPanel panel{appSet(), fake, appearance};
};

TEST_F(BuiltInMaterialsPanelTest, LibraryButtonsOpenSwitchAndCloseThePanel) {
    put("标准素材", 1, "红色跑马", 1);
    put("标准素材", 1, "白光爆闪", 2);
    put("个性素材", 5, "我的", 3);
    EXPECT_TRUE(panel.isHidden());

    QTest::mouseClick(&standard, Qt::LeftButton);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.Label素材库->text(), "标准素材");
    EXPECT_EQ(panel.Label提示->text(), "右键点击按钮显示说明，点击说明框自动隐藏说明");
    EXPECT_EQ(colour(&standard), 0x00FFFFu);
    EXPECT_EQ(colour(&personal), 0xC0C0C0u);
    EXPECT_EQ(colour(panel.categoryButton(1)), 0x807FFFu);
    EXPECT_EQ(panel.categoryButton(6)->text(), "唱歌-动作");
    EXPECT_EQ(panel.entryButton(1)->text(), "白光爆闪");
    EXPECT_EQ(panel.entryButton(2)->text(), "红色跑马");
    EXPECT_FALSE(panel.entryButton(2)->isHidden());
    EXPECT_TRUE(panel.entryButton(3)->isHidden());

    QTest::mouseClick(panel.categoryButton(5), Qt::LeftButton);
    EXPECT_EQ(colour(panel.categoryButton(5)), 0x807FFFu);
    EXPECT_EQ(colour(panel.categoryButton(1)), 0xC0C0C0u);
    EXPECT_TRUE(panel.entryButton(1)->isHidden());

    QTest::mouseClick(&personal, Qt::LeftButton);  // the category stays
    EXPECT_EQ(panel.Label素材库->text(), "个性素材");
    EXPECT_EQ(panel.entryButton(1)->text(), "我的");
    EXPECT_EQ(colour(&personal), 0x00FFFFu);
    EXPECT_EQ(colour(&standard), 0xC0C0C0u);

    QTest::mouseClick(&personal, Qt::LeftButton);
    EXPECT_TRUE(panel.isHidden());
    EXPECT_EQ(colour(&personal), 0xC0C0C0u);

    QTest::mouseClick(&standard, Qt::LeftButton);
    QTest::mouseClick(panel.Command隐藏, Qt::LeftButton);
    EXPECT_TRUE(panel.isHidden());
    EXPECT_EQ(colour(&standard), 0xC0C0C0u);
}

TEST_F(BuiltInMaterialsPanelTest, RightClickDescribesAndAClickOnTheBoxHidesIt) {
    put("标准素材", 1, "红色跑马", 1, "红光跑动\r\n适用：帕灯");
    put("标准素材", 1, "无说明的", 2);
    QTest::mouseClick(&standard, Qt::LeftButton);

    QTest::mouseClick(panel.entryButton(2), Qt::RightButton);
    EXPECT_TRUE(panel.Text说明->isVisible());
    EXPECT_EQ(panel.Text说明->toPlainText(), "红光跑动\n适用：帕灯\n");
    EXPECT_TRUE(fake.questions.isEmpty());  // describing imports nothing

    QTest::mouseClick(panel.Text说明->viewport(), Qt::LeftButton);
    EXPECT_TRUE(panel.Text说明->isHidden());

    QTest::mouseClick(panel.entryButton(1), Qt::RightButton);
    EXPECT_EQ(panel.Text说明->toPlainText(), "无说明");
    QTest::mouseClick(panel.categoryButton(2), Qt::LeftButton);
    EXPECT_TRUE(panel.Text说明->isHidden());
}

TEST_F(BuiltInMaterialsPanelTest, LeftClickImportsAfterYesAndTheEditorReloads) {
    put("标准素材", 1, "红色跑马", 99);
    QSignalSpy imported(&panel, &BuiltInMaterialsPanel::imported);
    QTest::mouseClick(&standard, Qt::LeftButton);
    const Material before = material;

    QTest::mouseClick(panel.entryButton(1), Qt::LeftButton);  // answered No
    EXPECT_EQ(fake.questions, QStringList{"是否导入  [红色跑马]"});
    EXPECT_EQ(material, before);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(imported.count(), 0);

    fake.yesNoAnswers = {true};
    QTest::mouseClick(panel.entryButton(1), Qt::LeftButton);
    EXPECT_EQ(material.value(1, 1, 1), 99);
    EXPECT_EQ(imported.count(), 1);
    EXPECT_TRUE(panel.isHidden());
    EXPECT_EQ(colour(&standard), 0xC0C0C0u);
    EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(BuiltInMaterialsPanelTest, AFileThatFailsTheTagCheckSaysReadFailed) {
    const QString folder = builtInFolder(appSet(), "标准素材", 3);
    QDir().mkpath(folder);
    writeWholeFile(folder + "/坏.K_1SC", "F1040401 is a fixture file");
    QSignalSpy imported(&panel, &BuiltInMaterialsPanel::imported);
    QTest::mouseClick(&standard, Qt::LeftButton);
    QTest::mouseClick(panel.categoryButton(3), Qt::LeftButton);
    const Material before = material;

    fake.yesNoAnswers = {true};
    QTest::mouseClick(panel.entryButton(1), Qt::LeftButton);
    EXPECT_EQ(fake.messages, QStringList{"读取失败"});
    EXPECT_EQ(material, before);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(imported.count(), 0);
}

TEST(BuiltInMaterialsPanelColours, TheFullSchemeGivesItsOwnColours) {
    test::FakePlatform fake;
    Appearance a;
    a.customised = true;
    a.colours.fill(0x010203);
    a.colours[static_cast<int>(ColourKey::素材_通用选中颜色)] = 0x0A0B0C;
    BuiltInMaterialsPanel panel(fake.dir.path() + "/AppSet", fake, a);
    QPushButton standard, personal;
    panel.attachLibraryButtons(&standard, &personal);
    panel.openBuiltInLibrary("标准素材");
    EXPECT_EQ(buttonBackColour(&standard), 0x0A0B0Cu);
    EXPECT_EQ(buttonBackColour(&personal), 0x010203u);
    EXPECT_EQ(buttonBackColour(panel.categoryButton(1)), 0x0A0B0Cu);
    EXPECT_EQ(buttonBackColour(panel.categoryButton(2)), 0x010203u);
}

}  // namespace
}  // namespace kx
