#pragma once

#include <QGroupBox>
#include <QPushButton>
#include <array>
#include <functional>

#include "materials/material_editor.h"

namespace kx {

// A panel of one button per Channel Function code 0-255 on two pages, with the page switch
// ("下一页" / "上一页") and, optionally, "隐藏". Used by the Temporary Channel panel and the
// channel definition picker. A code's button is named prefix + (code + 1), the array's 1-based
// index; the page switch prefix + "翻页", the hide button prefix + "隐藏".
class MaterialCodeGrid : public QGroupBox {
  public:
    struct Actions {
        std::function<void(int code)> pressed;
        std::function<void()> flipPage;
        std::function<void()> hide;  // none: no "隐藏" button
    };

    MaterialCodeGrid(const QString& objectName, const QString& title, const QString& prefix,
                     Actions actions, QWidget* parent);

    // Shows the page's buttons with the editor's captions and the colour each code takes.
    void refresh(const MaterialEditor& editor, int page,
                 const std::function<MaterialColour(int code)>& colourOf);
    QPushButton* codeButton(int code) const { return m_buttons.at(code); }
    QPushButton* pageButton() const { return m_page; }

  private:
    std::array<QPushButton*, kChannelFunctionCount> m_buttons{};
    QPushButton* m_page = nullptr;
};

}  // namespace kx
