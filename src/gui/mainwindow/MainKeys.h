#pragma once
// The main window's own keys: the player's, the preview's and the panel's
// commands on key release (core/app/KeyUpTable). The window sees every key
// before the control that has the focus, so the keys work whichever control
// is focused; nothing is taken from that control, so a text box still gets
// what is typed into it. A key that a menu shortcut takes never reaches the
// window as a key press, and so does nothing on its release. The menu
// shortcuts with Ctrl or Alt win over a text box that binds the same key.

#include "core/app/KeyUpTable.h"

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

namespace kelbrin {

// The window the keys drive.
class KeyCommandTarget {
public:
    virtual ~KeyCommandTarget() = default;
    // Read at each release.
    virtual KeyUpState keyUpState() const = 0;
    // Carries out the command of a release.
    virtual void runKeyCommand(KeyCommand command) = 0;
};

class MainKeys final : public QObject {
public:
    MainKeys(QWidget& window, KeyCommandTarget& target);
    ~MainKeys() override;

    bool eventFilter(QObject* watched, QEvent* event) override;

    // The virtual-key code of a Qt key (0 for keys the table has no use for)
    // and the modifier sum of its event.
    static int VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);
    static int ShiftState(Qt::KeyboardModifiers modifiers);

private:
    // True for the first delivery of a key event to a control of the window;
    // an event handed on to the control's parents counts once.
    bool firstDelivery(QObject* watched, QEvent* event);
    // The key, with Ctrl or Alt, is the shortcut of an enabled window command.
    bool takenByWindowCommand(const QKeyEvent& key) const;

    QWidget& m_window;
    KeyCommandTarget& m_target;
    KeyUpTable m_table;
    QEvent* m_lastEvent = nullptr;
    QPointer<QObject> m_lastReceiver;
};

} // namespace kelbrin
