#pragma once

#include <QPlainTextEdit>
#include <QWidget>

#include "shell/appearance.h"

namespace kx {

// A small read-only window with the changes of the recent versions. Opened, not modal, from the
// room control view.
class VersionNotesWindow : public QWidget {
    Q_OBJECT
  public:
    explicit VersionNotesWindow(const Appearance& appearance, QWidget* parent = nullptr);

    // Colours, then the notes written afresh; the window is shown by the caller.
    void Fun_窗体载入();
    // Appends one line (and its CR LF) to the end of the text.
    void Fun_Text_in(const QString& line);

    QPlainTextEdit* textBox() const { return m_text; }

  private:
    const Appearance& m_appearance;
    QPlainTextEdit* m_text;
};

}  // namespace kx
