#pragma once

#include <QString>

namespace kx {

// The log text box of a transfer window. The windows adapt their text widget; the core and the
// tests use TextLog.
class LogBox {
  public:
    virtual ~LogBox() = default;
    virtual void clear() = 0;
    // Adds text at the end, as typed (no line break of its own).
    virtual void append(const QString& text) = 0;
    virtual QString text() const = 0;
    // Lets the window show what was added while a transfer keeps the interface thread busy.
    virtual void repaint() {}
};

class TextLog : public LogBox {
  public:
    void clear() override { m_text.clear(); }
    void append(const QString& text) override { m_text += text; }
    QString text() const override { return m_text; }

  private:
    QString m_text;
};

// Appends text and, when newline is set, CR LF; then lets the window repaint.
void appendLog(LogBox& log, const QString& text, bool newline = true);

}  // namespace kx
