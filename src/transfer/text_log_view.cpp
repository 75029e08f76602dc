#include "transfer/text_log_view.h"

#include <QScrollBar>
#include <QTextCursor>

namespace kx {

void TextLogView::append(const QString& text) {
    QTextCursor cursor = m_edit.textCursor();
    cursor.movePosition(QTextCursor::End);
    // The box shows line ends as new lines; CR LF is how the logs are written.
    cursor.insertText(QString(text).replace("\r\n", "\n"));
    m_edit.setTextCursor(cursor);
    m_edit.verticalScrollBar()->setValue(m_edit.verticalScrollBar()->maximum());
}

}  // namespace kx
