#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/qt_translations.h"

namespace kx {
namespace {

// Qt's own Chinese texts, as the program loads them at start: the standard buttons of the
// questions and messages read 是, 否 and 确定.
TEST(QtTranslationsTest, MessageBoxButtonsAnswerInChinese) {
    ASSERT_TRUE(installQtTranslations(*qApp, QApplication::applicationDirPath()))
        << "qtbase_zh_CN.qm (qt6-translations-l10n) is missing";
    QMessageBox question(QMessageBox::Question, "KX-7420", "检测到未保存的修改，是否恢复？",
                         QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(question.button(QMessageBox::Yes)->text().startsWith("是"))
        << question.button(QMessageBox::Yes)->text().toStdString();
    EXPECT_TRUE(question.button(QMessageBox::No)->text().startsWith("否"))
        << question.button(QMessageBox::No)->text().toStdString();
    QMessageBox message(QMessageBox::Information, "KX-7420", "操作成功！", QMessageBox::Ok);
    EXPECT_EQ(message.button(QMessageBox::Ok)->text(), "确定");
    QFileDialog dialog(nullptr, "打开文件");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), "取消");
}

}  // namespace
}  // namespace kx
