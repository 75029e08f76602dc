#pragma once

#include <QPixmap>
#include <QStackedWidget>
#include <QWidget>
#include <functional>

#include "app/caption.h"
#include "base/event_pump.h"

namespace kx {

// The one top-level window: the title bar across the top and one view at a time below it. Its
// close box only asks for the shutdown; the shutdown hides it later.
class MainWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 768;
    static constexpr int kTitleBarHeight = 87;  // 1,300 twips

    // pump handles the events after a view came to the front.
    MainWindow(std::function<void()> onCloseRequest, EventPump& pump, QWidget* parent = nullptr);

    QWidget* titleBarArea() const { return m_titleBar; }
    QStackedWidget* viewArea() const { return m_views; }
    // Shown at the end of start-up; from then on the window cannot be resized or maximised.
    void showFixed();

    // Places the title bar across the top and shows it.
    void dockTitleBar(QWidget* titleBar);
    // At start-up: embeds the view hidden below the title bar with the views' background.
    void prepareView(QWidget* view, const QPixmap& background);
    // Brings the view to the front (embedding it first when needed) and handles pending events.
    void showView(QWidget* view);
    // The same without handling events: at start-up, before the window is on screen, there is
    // nothing to paint yet, and the views' first styling waits until they are shown.
    void bringToFront(QWidget* view);
    QWidget* currentView() const { return m_current; }
    // Shows a pop-up window centred over this window.
    void centreOverMain(QWidget* window);

    // Told whenever a view comes to the front, whatever brought it there (the title bar, an
    // editor's own button, undo, a load), so that the title bar can follow.
    void setViewShown(std::function<void(QWidget*)> viewShown) {
        m_viewShown = std::move(viewShown);
    }

    // "KX-7420 A14.2    [ path ]", or the customised form of it.
    void setCaptionStyle(const CaptionStyle& style) { m_captionStyle = style; }
    void setCaption(const QString& path);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::function<void()> m_onCloseRequest;
    EventPump& m_pump;
    QWidget* m_titleBar;
    QStackedWidget* m_views;
    QWidget* m_current = nullptr;
    std::function<void(QWidget*)> m_viewShown;
    CaptionStyle m_captionStyle;
};

}  // namespace kx
