#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <array>
#include <functional>

#include "materials/material_editor.h"

namespace kx {

// "灯具设置": the Virtual Fixture and channel counts, the patch buttons of the Virtual Fixtures,
// the Library Page buttons, a button per patched library fixture, "清除灯具选择" and the twelve
// Fixture Group buttons. Its edits go to the editor, whose announcements the window draws.
class MaterialFixturePanel : public QGroupBox {
  public:
    MaterialFixturePanel(MaterialEditor& editor, QWidget* parent);

    // The buttons from the Material and the library, with the counts (but a count box typed
    // into) when `counts`.
    void redraw(bool counts);

    QComboBox* fixtureCountBox() const { return m_fixtureCount; }
    // "采用灯具通道定义", shown while the Material's channels are all "空" and a mapped fixture has
    // definitions to take.
    QPushButton* takeDefinitionsButton() const { return m_takeDefinitions; }
    QComboBox* channelCountBox() const { return m_channelCount; }

  private:
    QComboBox* makeCountBox(const QString& name, int max, QRect r,
                            FieldMark (MaterialEditor::*type)(const QString&));
    void countTyped(QComboBox* box, FieldMark (MaterialEditor::*type)(const QString&),
                    const QString& text);
    void drawLibraryFixtures();  // the buttons of the page's patched fixtures
    void drawGroupCaptions();
    void showOffer();

    MaterialEditor& m_editor;
    const QComboBox* m_typed = nullptr;
    QComboBox* m_fixtureCount = nullptr;
    QComboBox* m_channelCount = nullptr;
    QPushButton* m_takeDefinitions = nullptr;
    std::array<QPushButton*, kMaxVirtualFixtures + 1> m_patch{};
    std::array<QPushButton*, libraryPages> m_pages{};
    std::array<QPushButton*, kFixturesPerPage + 1> m_fixtures{};
    std::array<QPushButton*, kGroupsOffered + 1> m_groups{};
};

}  // namespace kx
