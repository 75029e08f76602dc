#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

namespace kx::test {

// Replaces a box's text by typing, as the user does after selecting it. Key events carry the
// characters: QTest's own typing takes ASCII only.
inline void retype(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

// Replaces a box's ASCII text by typing and finishes the entry with Enter.
inline void typeAndEnter(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

}  // namespace kx::test
