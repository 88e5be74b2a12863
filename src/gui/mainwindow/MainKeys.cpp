#include "MainKeys.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

#include <algorithm>

namespace kelbrin {

MainKeys::MainKeys(QWidget& window, KeyCommandTarget& target) : QObject(&window), m_window(window), m_target(target) {
    // Keys go to the focused control first; only an application-wide filter
    // sees them before it.
    QCoreApplication::instance()->installEventFilter(this);
}

MainKeys::~MainKeys() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

int MainKeys::VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return vk::F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vk::Return;
    case Qt::Key_Backspace:
        return vk::Back;
    case Qt::Key_Plus:
        return modifiers.testFlag(Qt::KeypadModifier) ? vk::Add : 0;
    default:
        return 0;
    }
}

int MainKeys::ShiftState(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? keymod::Shift : 0) +
           (modifiers.testFlag(Qt::ControlModifier) ? keymod::Ctrl : 0) +
           (modifiers.testFlag(Qt::AltModifier) ? keymod::Alt : 0);
}

bool MainKeys::firstDelivery(QObject* watched, QEvent* event) {
    // A control that ignores a key hands the same event on to its parent.
    if (event == m_lastEvent && m_lastReceiver && watched != m_lastReceiver.data() &&
        watched->isWidgetType() && m_lastReceiver->isWidgetType() &&
        static_cast<QWidget*>(watched)->isAncestorOf(static_cast<QWidget*>(m_lastReceiver.data())))
        return false;
    m_lastEvent = event;
    m_lastReceiver = watched;
    return true;
}

bool MainKeys::takenByWindowCommand(const QKeyEvent& key) const {
    // Plain keys (Delete among them) are the text box's typing and stay with it.
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (!(modifiers & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    // Copying, cutting, pasting, selecting and undoing text stay the box's own:
    // a text box without them is no text box.
    for (QKeySequence::StandardKey editing : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste,
                                              QKeySequence::SelectAll, QKeySequence::Undo, QKeySequence::Redo})
        if (key.matches(editing))
            return false;
    const QKeySequence pressed(QKeyCombination(modifiers, Qt::Key(key.key())));
    const QList<QAction*> actions = m_window.findChildren<QAction*>();
    return std::any_of(actions.cbegin(), actions.cend(), [&pressed](const QAction* action) {
        return action->isEnabled() && action->shortcuts().contains(pressed);
    });
}

bool MainKeys::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride) {
        // A text box claims the keys it edits with (Ctrl+U deletes its line)
        // before the window's shortcuts see them; the window's commands come
        // first, so a key does the same wherever the focus is.
        if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != &m_window)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (!takenByWindowCommand(*key))
            return false;
        key->ignore();
        return true;
    }
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != &m_window || !firstDelivery(watched, event))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::KeyPress) {
        m_table.KeyDown();
        return false;
    }
    // Holding a key repeats its press and release; only the last release counts.
    if (key->isAutoRepeat())
        return false;
    const int code = VirtualKey(key->key(), key->modifiers());
    const KeyCommand command = m_table.KeyUp(code, ShiftState(key->modifiers()), m_target.keyUpState());
    if (command != KeyCommand::None)
        m_target.runKeyCommand(command);
    return false;
}

} // namespace kelbrin
