#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <array>
#include <functional>

#include "materials/material_editor.h"

namespace kx {

// The Motion Generator's parameter panel: titled with the mode, the global row ("所有灯具") and
// the row of the Virtual Fixture on the faders ("单个灯具"), each parameter a list of its whole
// numbers that also takes typing, "生成动作" and "隐藏". Its edits go to the editor, whose
// announcements the window draws.
class MaterialMotionPanel : public QGroupBox {
  public:
    MaterialMotionPanel(MaterialEditor& editor, QWidget* parent);

    // The parameters of the Material and the shown Virtual Fixture (a box typed into keeps its
    // text and mark).
    void refresh();
    QComboBox* globalBox(int entry) const { return m_global.at(entry); }
    QComboBox* fixtureBox(int entry) const { return m_fixture.at(entry); }

  private:
    void typed(QComboBox* box, FieldMark (MaterialEditor::*type)(int, const QString&), int entry,
               const QString& text);

    MaterialEditor& m_editor;
    const QComboBox* m_typed = nullptr;
    std::array<QComboBox*, kGlobalMotionLabels.size() + 1> m_global{};
    std::array<QComboBox*, kFixtureMotionLabels.size() + 1> m_fixture{};
};

}  // namespace kx
