#pragma once

#include "app/main_shell_view.h"
#include "base/developer_mode.h"
#include "editor/editor_host.h"

namespace kx {

// The editors' host in the program: the shell brings their views forward and leads between
// them; developer mode is the run's.
class ShellHost final : public EditorHost {
  public:
    ShellHost(MainShell& shell, DeveloperMode& developer)
        : m_shell(shell), m_developer(developer) {}

    void showView(QWidget* view) override { m_shell.window().showView(view); }
    QWidget* currentView() const override { return m_shell.window().currentView(); }
    void enter(EditorId id) override { m_shell.enter(id); }
    void open(EditorId id, const std::any& at) override { m_shell.open(id, at); }
    void setButtonEditor(EditorId id) override { m_shell.setButtonEditor(id); }
    QWidget& mainWindow() override { return m_shell.window(); }
    void centreOverMain(QWidget* window) override { m_shell.window().centreOverMain(window); }
    bool developerMode() const override { return m_developer.on; }
    void enterDeveloperMode() override {
        m_developer.on = true;
        m_shell.titleBar().setDeveloperMode(true);
    }

  private:
    MainShell& m_shell;
    DeveloperMode& m_developer;
};

}  // namespace kx
