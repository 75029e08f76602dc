#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "materials/chase_generator.h"
#include "shell/appearance.h"

namespace kx {

// The chase generator window (跑马), opened by "跑马工具" as an opaque panel over the Material
// editor's faders. It reads its fields, hands them to the generator it is given (the editor's,
// which replaces the Steps of the Material shown), and shows the listing.
class ChaseGeneratorWindow : public QGroupBox {
    Q_OBJECT
  public:
    explicit ChaseGeneratorWindow(const Appearance& appearance, QWidget* parent = nullptr);

    using Generate = std::function<ChaseResult(const ChaseFields&)>;

    // The Material the window works on (the editor's current one), whose Virtual Fixtures the
    // lists offer, and what generates into it; none: generating does nothing.
    void setMaterial(const Material* material, Generate generate) {
        m_material = material;
        m_generate = std::move(generate);
    }
    // "跑马工具": prepares and shows the window when it is hidden, hides it when it is shown.
    void toggle();
    // Refills the lit-count and start-position lists with 1..fixtureCount and resets the type.
    void prepareChaseWindow();
    // Hides the window ("隐藏", and every output tick outside the Material editor's static view).
    void Fun_窗体关闭() { hide(); }
    // "生成数据".
    void generate();
    ChaseFields fields() const;

    QComboBox* Combo跑马类型;
    QComboBox* Combo跑马灯具数量;
    QComboBox* Combo起始位置;
    QComboBox* Combo亮灯数据;
    QComboBox* Combo灭灯数据;
    QCheckBox* Check开启反向;
    QPlainTextEdit* Text信息;
    QPushButton* Command生成数据;
    QPushButton* Command隐藏;

  signals:
    // The Steps were replaced: the editor makes Step 1 current and refreshes everything.
    void generated();

  private:
    const Material* m_material = nullptr;
    Generate m_generate;
};

}  // namespace kx
