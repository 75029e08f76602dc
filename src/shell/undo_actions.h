#pragma once

#include <QObject>
#include <QPoint>
#include <QPushButton>

#include "base/edit_history.h"
#include "base/prompter.h"

namespace kx {

// Undo and redo for the whole program: Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z wherever the focus is
// (also in a text box, whose own undo would otherwise take the keys), and the buttons the views
// offer. A mouse release or a change of focus ends the current run of edits, so a fader drag or
// the typing into one box is one entry. A refused undo tells its reason.
class UndoActions : public QObject {
    Q_OBJECT

  public:
    UndoActions(EditHistory& history, Prompter& prompter, QObject* parent = nullptr);
    ~UndoActions() override;

    EditHistory& history() { return m_history; }
    void undo();
    void redo();

    // "撤销" and "重做" (Command撤销, Command重做) side by side from `at`, 56 x 26 each; their
    // tooltips name the entry they take back or make again.
    void addButtons(QWidget* parent, QPoint at);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void updateButtons();

    EditHistory& m_history;
    Prompter& m_prompter;
    std::vector<std::pair<QPushButton*, QPushButton*>> m_buttons;
};

}  // namespace kx
