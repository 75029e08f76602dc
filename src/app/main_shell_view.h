#pragma once

#include <QObject>
#include <array>
#include <functional>
#include <map>

#include "app/main_window.h"
#include "app/splash_view.h"
#include "app/title_bar_view.h"
#include "app/version_notes_window.h"
#include "base/paths.h"
#include "shell/appearance.h"
#include "shell/picture_store.h"

namespace kx {

// The views below the title bar, in the order start-up prepares them.
enum class ShellView {
    FixtureLibrary,
    Effects,
    Materials,
    FirmwareUpgrade,
    Download,
    Scenes,
    RoomControl,
    TestConsole,
    IrLearning,
};
inline constexpr int kShellViewCount = 9;

// The main window's furniture: the picture store, the splash view, the title bar and every view,
// created in start-up order, and the title bar's function buttons leading to the views. A view
// whose editor is not supplied is a placeholder with its title.
class MainShell : public QObject {
    Q_OBJECT
  public:
    MainShell(MainWindow& window, const AppPaths& paths, const Appearance& appearance,
              QObject* parent = nullptr);

    // Start-up step 8: prepare the splash view, dock the title bar, show the splash view, then
    // prepare the views hidden in their order. Supplied views are embedded as they are.
    void createViews(const std::map<ShellView, QWidget*>& supplied = {});

    MainWindow& window() { return m_window; }
    const PictureStore& pictures() const { return m_pictures; }
    TitleBarView& titleBar() { return *m_titleBar; }
    SplashView& splash() { return *m_splash; }
    QWidget* view(ShellView v) const { return m_views[static_cast<int>(v)]; }
    VersionNotesWindow& versionNotes() { return *m_versionNotes; }

    // What entering a view does: the editor's Fun_窗体载入 once it exists; by default the view is
    // brought to the front.
    void setEntry(ShellView v, std::function<void()> enter);
    void enter(ShellView v);
    // Button 1 leads to the IR learning view while this says its page is the one open.
    std::function<bool()> irPageOpen;

    // Opens the version notes over the main window.
    void openVersionNotes();

  private:
    void onFunction(int index);

    MainWindow& m_window;
    PictureStore m_pictures;
    SplashView* m_splash;
    TitleBarView* m_titleBar;
    VersionNotesWindow* m_versionNotes;
    std::array<QWidget*, kShellViewCount> m_views{};
    std::array<std::function<void()>, kShellViewCount> m_entries;
};

// The Chinese title a placeholder shows for a view.
QString shellViewTitle(ShellView v);

}  // namespace kx
