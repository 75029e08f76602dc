#pragma once

#include <QPlainTextEdit>

#include "transfer/transfer_log.h"

namespace kx {

// A window's log text box as the transfers' log.
class TextLogView : public LogBox {
  public:
    explicit TextLogView(QPlainTextEdit& edit) : m_edit(edit) {}
    void clear() override { m_edit.clear(); }
    void append(const QString& text) override;
    QString text() const override { return m_edit.toPlainText(); }
    void repaint() override { m_edit.repaint(); }

  private:
    QPlainTextEdit& m_edit;
};

}  // namespace kx
