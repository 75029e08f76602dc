#include "app/version_notes_window.h"

#include <QVBoxLayout>

#include "app/version_notes.h"
#include "shell/appearance_view.h"

namespace kx {

VersionNotesWindow::VersionNotesWindow(const Appearance& appearance, QWidget* parent)
    : QWidget(parent, Qt::Window), m_appearance(appearance), m_text(new QPlainTextEdit(this)) {
    setObjectName("VersionNotesWindow");
    setWindowTitle("版本说明");
    resize(560, 460);
    m_text->setObjectName("Text版本说明");
    m_text->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
}

void VersionNotesWindow::Fun_窗体载入() {
    applyViewColours(this, m_appearance);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, m_text->palette().color(QPalette::Base));
    setPalette(pal);
    setAutoFillBackground(true);
    m_text->clear();
    for (const QString& line : versionNoteLines())
        Fun_Text_in(line);
}

void VersionNotesWindow::Fun_Text_in(const QString& line) {
    QString entry = versionNoteEntry(line, m_appearance.customised);
    entry.remove('\r');
    m_text->moveCursor(QTextCursor::End);
    m_text->insertPlainText(entry);
}

}  // namespace kx
