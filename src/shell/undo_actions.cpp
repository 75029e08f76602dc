#include "shell/undo_actions.h"

#include <QApplication>
#include <QKeyEvent>

#include "shell/widgets.h"

namespace kx {

namespace {

enum class HistoryKey { None, Undo, Redo };

HistoryKey historyKey(const QKeyEvent& e) {
    const Qt::KeyboardModifiers mods =
        e.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (mods == Qt::ControlModifier && e.key() == Qt::Key_Z) return HistoryKey::Undo;
    if (mods == Qt::ControlModifier && e.key() == Qt::Key_Y) return HistoryKey::Redo;
    if (mods == (Qt::ControlModifier | Qt::ShiftModifier) && e.key() == Qt::Key_Z)
        return HistoryKey::Redo;
    return HistoryKey::None;
}

}  // namespace

UndoActions::UndoActions(EditHistory& history, Prompter& prompter, QObject* parent)
    : QObject(parent), m_history(history), m_prompter(prompter) {
    qApp->installEventFilter(this);
    connect(&m_history, &EditHistory::changed, this, &UndoActions::updateButtons);
}

UndoActions::~UndoActions() {
    qApp->removeEventFilter(this);
}

void UndoActions::undo() {
    const Outcome out = m_history.undo();
    if (!out.message.isEmpty()) m_prompter.message(out.message);
}

void UndoActions::redo() {
    const Outcome out = m_history.redo();
    if (!out.message.isEmpty()) m_prompter.message(out.message);
}

void UndoActions::addButtons(QWidget* parent, QPoint at) {
    QPushButton* undo = makeButton(parent, "Command撤销", "撤销", QRect(at, QSize(56, 26)));
    QPushButton* redo =
        makeButton(parent, "Command重做", "重做", QRect(at + QPoint(60, 0), QSize(56, 26)));
    for (QPushButton* b : {undo, redo})
        b->setFocusPolicy(Qt::NoFocus);
    connect(undo, &QPushButton::clicked, this, &UndoActions::undo);
    connect(redo, &QPushButton::clicked, this, &UndoActions::redo);
    m_buttons.emplace_back(undo, redo);
    connect(undo, &QObject::destroyed, this, [this, undo] {
        std::erase_if(m_buttons, [undo](const auto& pair) { return pair.first == undo; });
    });
    updateButtons();
}

void UndoActions::updateButtons() {
    for (auto& [undo, redo] : m_buttons) {
        undo->setEnabled(m_history.canUndo());
        undo->setToolTip(m_history.undoTip());
        redo->setEnabled(m_history.canRedo());
        redo->setToolTip(m_history.redoTip());
    }
}

bool UndoActions::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonRelease:
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            m_history.seal();
            break;
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress: {
            // Only widgets take part (the application sees each key once per receiver), and a
            // message box in front keeps its own keys.
            if (!watched->isWidgetType() || QApplication::activeModalWidget() != nullptr) break;
            const HistoryKey key = historyKey(*static_cast<QKeyEvent*>(event));
            if (key == HistoryKey::None) break;
            event->accept();
            if (event->type() == QEvent::KeyPress) key == HistoryKey::Undo ? undo() : redo();
            return true;
        }
        default:
            break;
    }
    return false;
}

}  // namespace kx
