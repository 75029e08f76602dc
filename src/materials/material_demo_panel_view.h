#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>
#include <functional>

#include "materials/material_editor.h"

namespace kx {

// "素材演示": the running Material's Step and time, the frame values of one DMX port, "跳步",
// the port buttons "Dmx-A" .. "Dmx-D" and "返回".
class MaterialDemoPanel : public QGroupBox {
  public:
    struct Actions {
        std::function<void()> jump;
        std::function<void()> back;
    };

    MaterialDemoPanel(MaterialEditor& editor, Actions actions, QWidget* parent);

    // The port buttons' colours.
    void refresh();
    // One tick's caption and text view.
    void showTick(const PortText& text);
    QLabel* caption() const { return m_caption; }
    QPlainTextEdit* portText() const { return m_text; }

  private:
    MaterialEditor& m_editor;
    QLabel* m_caption = nullptr;
    QPlainTextEdit* m_text = nullptr;
    std::array<QPushButton*, 4> m_ports{};
};

}  // namespace kx
