#pragma once

#include <QObject>
#include <any>
#include <functional>
#include <map>
#include <vector>

#include "app/main_window.h"
#include "app/splash_view.h"
#include "app/title_bar_view.h"
#include "base/paths.h"
#include "editor/editor_table.h"
#include "shell/appearance.h"
#include "shell/picture_store.h"

namespace kx {

// The main window's furniture: the picture store, the splash view, the title bar and the view of
// every editor module, and the title bar's function buttons leading to them.
class MainShell : public QObject {
    Q_OBJECT
  public:
    MainShell(MainWindow& window, const AppPaths& paths, const Appearance& appearance,
              QObject* parent = nullptr);
    ~MainShell() override;

    // One view below the title bar, as the shell leads to it.
    struct Entry {
        EditorId id;
        QString title;
        QWidget* view = nullptr;
        std::function<void()> enter;                // tells the live output, then enters the view
        std::function<void(const std::any&)> open;  // the same at a place (none: enter)
        int titleButton = 0;
        bool startsOnButton = false;
        QString buttonCaption;  // the button's text while it leads here ("": the title)
    };

    // Start-up step 8: prepare the splash view, dock the title bar, show the splash view, then
    // prepare the views hidden in their order.
    void createViews(std::vector<Entry> entries);

    MainWindow& window() { return m_window; }
    const PictureStore& pictures() const { return m_pictures; }
    TitleBarView& titleBar() { return *m_titleBar; }
    SplashView& splash() { return *m_splash; }
    QWidget* view(EditorId id) const;

    void enter(EditorId id);
    void open(EditorId id, const std::any& at);
    // Which of the editors sharing its title bar button the button leads to; the button takes
    // that editor's title (Fun_标题场景功能 of the scene, effect and material editors).
    void setButtonEditor(EditorId id);
    EditorId buttonEditor(int titleButton) const { return m_buttonEditors.at(titleButton); }

  private:
    const Entry* find(EditorId id) const;
    // The title bar button leading to the view (0: none, as for the splash view).
    int buttonOf(const QWidget* view) const;

    MainWindow& m_window;
    PictureStore m_pictures;
    SplashView* m_splash;
    TitleBarView* m_titleBar;
    std::vector<Entry> m_entries;
    std::map<int, EditorId> m_buttonEditors;
};

}  // namespace kx
