#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <array>
#include <functional>

#include "materials/material_editor_state.h"

namespace kx {

// The Motion Generator's parameter panel: titled with the mode, the global row ("所有灯具") and
// the row of the Virtual Fixture on the faders ("单个灯具"), each parameter a list of its whole
// numbers that also takes typing, "生成动作" and "隐藏". changed runs after an edit the rest of
// the window shows (the hide, the generated Steps).
class MaterialMotionPanel : public QGroupBox {
  public:
    MaterialMotionPanel(MaterialEditor& editor, std::function<void()> changed, QWidget* parent);

    // The parameters of the Material and the shown Virtual Fixture.
    void refresh();
    QComboBox* globalBox(int entry) const { return m_global.at(entry); }
    QComboBox* fixtureBox(int entry) const { return m_fixture.at(entry); }

  private:
    MaterialEditor& m_editor;
    std::function<void()> m_changed;
    std::array<QComboBox*, kGlobalMotionLabels.size() + 1> m_global{};
    std::array<QComboBox*, kFixtureMotionLabels.size() + 1> m_fixture{};
};

}  // namespace kx
