#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "materials/chase_generator_window.h"
#include "materials/material_test_util.h"

namespace kx {
namespace {

class ChaseGeneratorWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.setMaterial(&material,
                           [this](const ChaseFields& f) { return generateChase(material, f); });
    }

    void type(QComboBox* combo, const QString& text) {
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), text);
    }
    static QStringList items(const QComboBox* combo) {
        QStringList list;
        for (int i = 0; i < combo->count(); ++i)
            list << combo->itemText(i);
        return list;
    }

    Appearance appearance;
    Material material = test::sized(6, 2, 3);
    ChaseGeneratorWindow window{appearance};
};

TEST_F(ChaseGeneratorWindowTest, ToolButtonTogglesAndEveryShowingPreparesTheLists) {
    window.toggle();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(items(window.Combo跑马灯具数量), (QStringList{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(window.Combo起始位置->currentText(), "1");
    EXPECT_EQ(window.Combo跑马类型->currentText(), "00-无");
    EXPECT_EQ(window.Combo亮灯数据->currentText(), "255");
    EXPECT_EQ(window.Combo灭灯数据->currentText(), "0");

    window.Combo跑马类型->setCurrentIndex(1);
    type(window.Combo亮灯数据, "77");
    window.toggle();
    EXPECT_FALSE(window.isVisible());

    material.setFixtureCount(3);
    window.toggle();
    EXPECT_EQ(items(window.Combo起始位置), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(window.Combo跑马类型->currentText(), "00-无");
    EXPECT_EQ(window.Combo亮灯数据->currentText(), "77");  // typed values stay

    QTest::mouseClick(window.Command隐藏, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(ChaseGeneratorWindowTest, GenerateWithoutATypeSaysSoAndChangesNothing) {
    QSignalSpy generated(&window, &ChaseGeneratorWindow::generated);
    const Material before = material;
    window.toggle();
    QTest::mouseClick(window.Command生成数据, Qt::LeftButton);
    EXPECT_EQ(window.Text信息->toPlainText(), "未选择任何跑马类型");
    EXPECT_EQ(material, before);
    EXPECT_EQ(generated.count(), 0);
}

TEST_F(ChaseGeneratorWindowTest, GenerateReadsTheTypedFieldsAndListsTheSteps) {
    QSignalSpy generated(&window, &ChaseGeneratorWindow::generated);
    window.toggle();
    window.Combo跑马类型->setCurrentIndex(1);
    type(window.Combo跑马灯具数量, "2");
    type(window.Combo亮灯数据, "300");
    type(window.Combo灭灯数据, "10");
    // On the box itself: the check box takes clicks on its indicator and caption only.
    QTest::mouseClick(window.Check开启反向, Qt::LeftButton, {},
                      QPoint(8, window.Check开启反向->height() / 2));
    EXPECT_TRUE(window.Check开启反向->isChecked());
    QTest::mouseClick(window.Command生成数据, Qt::LeftButton);

    EXPECT_EQ(generated.count(), 1);
    ASSERT_EQ(material.stepCount(), 6);
    EXPECT_EQ(material.value(1, 6, 2), 255);  // 300 is no value: full on
    EXPECT_EQ(material.value(1, 1, 1), 255);
    EXPECT_EQ(material.value(1, 2, 1), 10);
    const QStringList lines = window.Text信息->toPlainText().split('\n');
    EXPECT_EQ(lines.front(), "步001：06 01 ");
    EXPECT_EQ(lines.at(5), "步006：01 02 ");
}

}  // namespace
}  // namespace kx
