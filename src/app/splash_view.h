#pragma once

#include <QPixmap>
#include <QPushButton>
#include <QWidget>

#include "shell/picture_store.h"

namespace kx {

// The first view shown, and the background while no editor has been chosen. Its one button asks
// the Controller for command 0xCB.
class SplashView : public QWidget {
    Q_OBJECT
  public:
    // With the full scheme the splash picture is the whole face; otherwise the product name and
    // version are drawn on the view background.
    SplashView(const PictureStore& pictures, bool customised, QWidget* parent = nullptr);

    QPushButton* commandButton() const { return m_button; }

  signals:
    void commandCbClicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QPixmap m_picture;
    bool m_customised;
    QPushButton* m_button;
};

}  // namespace kx
