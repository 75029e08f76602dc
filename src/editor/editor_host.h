#pragma once

#include <QWidget>
#include <any>

#include "editor/editor_table.h"

namespace kx {

// What the program does for its editors: brings views to the front and leads from one editor to
// another, so that no editor names another's type or reaches into its widgets.
class EditorHost {
  public:
    virtual ~EditorHost() = default;

    // Brings a view below the title bar to the front; the title bar highlights its button.
    virtual void showView(QWidget* view) = 0;
    virtual QWidget* currentView() const = 0;
    // Enters an editor as its title bar button does.
    virtual void enter(EditorId id) = 0;
    // Enters an editor at the place at names (what each module's open takes is in its header);
    // an editor without an own way in is entered.
    virtual void open(EditorId id, const std::any& at) = 0;
    // Which of the editors sharing its title bar button the button leads to, and its caption.
    virtual void setButtonEditor(EditorId id) = 0;
    // The window the program's other windows open beside or over.
    virtual QWidget& mainWindow() = 0;
    // Shows a window of its own centred over the main window.
    virtual void centreOverMain(QWidget* window) = 0;
    // Developer mode of this run; entering it shows the title bar's developer console button.
    virtual bool developerMode() const = 0;
    virtual void enterDeveloperMode() = 0;
};

}  // namespace kx
