#pragma once
// The program's application object. A run-time error (a C++ exception) that a
// handler did not catch would otherwise leave through the event loop and end
// the program with the open project unsaved. Here every delivery of an event,
// a timer or a queued call is guarded: the failure is reported in the
// "Error Nr." box, naming the error and the window and control that received
// the event, and the program and its project stay as they are. A settings
// file that cannot be written, or that was damaged, is reported the same way,
// as a numbered message.

#include "platform/settings/SettingsStore.h"

#include <QApplication>
#include <exception>
#include <functional>

namespace kelbrin {

class KelbrinApplication : public QApplication {
    Q_OBJECT
public:
    KelbrinApplication(int& argc, char** argv);
    ~KelbrinApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    // The run-time error number for an exception: 9 subscript out of range,
    // 11 division by zero, 6 overflow, 7 out of memory, 5 anything else.
    static int ErrorNumber(const std::exception* error);
    // "window.control" of the object that received the event.
    static QString ReceiverName(const QObject* receiver);

private:
    void report(int number, const QString& description, const QString& where);
    void reportSettingsFailure(const QString& file, SettingsFault fault);
    // Shows a box on the next turn of the event loop, so it never opens inside
    // a device or bus callback; one at a time of each kind: while `pending`
    // is set (until the box has closed), another request is dropped.
    void showLater(bool& pending, std::function<void()> show);

    bool m_boxPending = false;
    bool m_settingsBoxPending = false;
};

} // namespace kelbrin
